#include "traffic/ui/command_dialog.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "files/ini_text.h"
#include "traffic/master_station.h"
#include "widgets/application.h"

namespace tc101 {

namespace {

constexpr CommandType kTypes[] = {CommandType::Single,        CommandType::Double,   CommandType::SetNormalised,
                                  CommandType::SetScaled,     CommandType::SetFloat, CommandType::ClockSync,
                                  CommandType::CounterInterrogation, CommandType::Read, CommandType::Test,
                                  CommandType::ResetProcess};
// Ticks of the station while no master simulation ticks it, as `command` ticks by default.
constexpr int kTickMs = 100;
constexpr int kMaxTimeoutMs = 3'600'000;
constexpr int kMaxQu = 31;
constexpr int kMaxQl = 127;
constexpr int kMaxQualifierOctet = 255;
constexpr int kMinScaled = -32768;
constexpr int kMaxScaled = 32767;
constexpr int kBitsPerOctet = 8;

bool HasState(CommandType type) { return type == CommandType::Single || type == CommandType::Double; }
bool IsSetPoint(CommandType type) {
    return type == CommandType::SetNormalised || type == CommandType::SetScaled || type == CommandType::SetFloat;
}
bool HasObject(CommandType type) { return HasState(type) || IsSetPoint(type) || type == CommandType::Read; }
bool HasValue(CommandType type) {
    return IsSetPoint(type) || type == CommandType::CounterInterrogation || type == CommandType::ResetProcess;
}

std::runtime_error Refused(const QString& text) { return std::runtime_error(text.toStdString()); }

Cp56Time Cp56Of(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    return {date.year(), date.month(), date.day(), date.dayOfWeek(), time.hour(), time.minute(),
            time.second() * 1000 + time.msec()};
}

// What the value box takes, as its placeholder and in its refusal.
QString ValueHint(CommandType type) {
    switch (type) {
        case CommandType::SetNormalised: return QStringLiteral(u"-1 至 1 (不含 1)");
        case CommandType::SetScaled: return QStringLiteral(u"-32768 至 32767");
        case CommandType::SetFloat: return QStringLiteral(u"数值");
        case CommandType::CounterInterrogation: return QStringLiteral(u"QCC 0 至 255");
        case CommandType::ResetProcess: return QStringLiteral(u"QRP 0 至 255");
        default: return {};
    }
}

QString ResultText(const CommandOutcome& outcome) {
    switch (outcome.result) {
        case CommandResult::Confirmed: return QStringLiteral(u"结果: 确认");
        case CommandResult::Negative: return QStringLiteral(u"结果: 否定确认 (COT %1)").arg(outcome.cause);
        case CommandResult::Timeout: return QStringLiteral(u"结果: 超时");
    }
    return {};
}

}  // namespace

CommandDialog::CommandDialog(MasterStation& station, CommandDialogLinks links, QWidget* parent)
    : QDialog(parent), station_(station), links_(std::move(links)) {
    setObjectName(QStringLiteral("frmCommand"));
    setWindowTitle(QString::fromUtf16(kCommandDialogTitle));
    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    cmbType = named(new QComboBox, "cmbType");
    for (CommandType type : kTypes)
        cmbType->addItem(QStringLiteral("%1 (%2)")
                             .arg(QString::fromUtf8(CommandTypeName(type).data(),
                                                    static_cast<qsizetype>(CommandTypeName(type).size())))
                             .arg(static_cast<int>(type)),
                         static_cast<int>(type));
    txtIoa = named(new QLineEdit(QStringLiteral("1")), "txtIoa");
    cmbState = named(new QComboBox, "cmbState");
    txtValue = named(new QLineEdit, "txtValue");
    spnQu = named(new QSpinBox, "spnQu");
    cekComputerTime = named(new QCheckBox(QStringLiteral(u"计算机时间")), "cekComputerTime");
    cekComputerTime->setChecked(true);
    dteTime = named(new QDateTimeEdit(QDateTime::currentDateTime()), "dteTime");
    dteTime->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    dteTime->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    spnTimeout = named(new QSpinBox, "spnTimeout");
    spnTimeout->setRange(1, kMaxTimeoutMs);
    spnTimeout->setValue(static_cast<int>(kDefaultCommandTimeout.count()));
    spnTimeout->setSuffix(QStringLiteral(" ms"));

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(cekComputerTime);
    timeRow->addWidget(dteTime, 1);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral(u"命令类型"), cmbType);
    fields->addRow(QStringLiteral(u"信息体地址"), txtIoa);
    fields->addRow(QStringLiteral(u"状态"), cmbState);
    fields->addRow(QStringLiteral(u"值"), txtValue);
    fields->addRow(QStringLiteral(u"限定词 (QU/QL)"), spnQu);
    fields->addRow(QStringLiteral(u"对时时间"), timeRow);
    fields->addRow(QStringLiteral(u"每步超时"), spnTimeout);

    btnSelect = named(new QPushButton(QStringLiteral(u"选择(&S)")), "btnSelect");
    btnExecute = named(new QPushButton(QStringLiteral(u"执行(&E)")), "btnExecute");
    btnCancel = named(new QPushButton(QStringLiteral(u"撤销(&C)")), "btnCancel");
    btnDirect = named(new QPushButton(QStringLiteral(u"直接执行(&D)")), "btnDirect");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {btnSelect, btnExecute, btnCancel, btnDirect}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    lstSteps = named(new QListWidget, "lstSteps");
    lblResult = named(new QLabel, "lblResult");
    auto* note = new QLabel(QStringLiteral(u"地址: 十进制, 或以 0x 开头的十六进制; 命令与主站召唤共用一个队列"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(lstSteps, 1);
    layout->addWidget(lblResult);
    layout->addWidget(note);

    tmrCommand = named(new QTimer(this), "tmrCommand");
    tmrCommand->setTimerType(Qt::PreciseTimer);
    tmrCommand->setInterval(kTickMs);

    connect(cmbType, &QComboBox::currentIndexChanged, this, [this] { TypeChanged(); });
    for (QLineEdit* edit : {txtIoa, txtValue})
        connect(edit, &QLineEdit::textEdited, this, [this] {
            selected_ = false;
            UpdateButtons();
        });
    connect(cmbState, &QComboBox::currentIndexChanged, this, [this] {
        selected_ = false;
        UpdateButtons();
    });
    connect(cekComputerTime, &QCheckBox::toggled, this, [this](bool computer) { dteTime->setEnabled(!computer); });
    connect(btnSelect, &QPushButton::clicked, this, [this] { Start(CommandMode::SelectOnly); });
    connect(btnExecute, &QPushButton::clicked, this, [this] { Start(CommandMode::ExecuteOnly); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { Start(CommandMode::Cancel); });
    connect(btnDirect, &QPushButton::clicked, this, [this] { Start(CommandMode::ExecuteOnly); });
    connect(tmrCommand, &QTimer::timeout, this, [this] { TimerTick(); });
    TypeChanged();
}

CommandType CommandDialog::Type() const { return static_cast<CommandType>(cmbType->currentData().toInt()); }

void CommandDialog::TypeChanged() {
    const CommandType type = Type();
    selected_ = false;
    cmbState->clear();
    if (type == CommandType::Single) {
        cmbState->addItem(QStringLiteral(u"分 (0)"), 0);
        cmbState->addItem(QStringLiteral(u"合 (1)"), 1);
    } else if (type == CommandType::Double) {
        cmbState->addItem(QStringLiteral(u"分 (1)"), 1);
        cmbState->addItem(QStringLiteral(u"合 (2)"), 2);
    }
    cmbState->setCurrentIndex(cmbState->count() - 1);
    txtValue->setPlaceholderText(ValueHint(type));
    // QCC 5 is the general request of counters, QRP 1 the general reset of the process.
    if (type == CommandType::CounterInterrogation) txtValue->setText(QStringLiteral("5"));
    if (type == CommandType::ResetProcess) txtValue->setText(QStringLiteral("1"));
    if (IsSetPoint(type) && txtValue->text().isEmpty()) txtValue->setText(QStringLiteral("0"));
    spnQu->setRange(0, IsSetPoint(type) ? kMaxQl : kMaxQu);
    cmbState->setEnabled(HasState(type));
    txtIoa->setEnabled(HasObject(type));
    txtValue->setEnabled(HasValue(type));
    spnQu->setEnabled(HasState(type) || IsSetPoint(type));
    cekComputerTime->setEnabled(type == CommandType::ClockSync);
    dteTime->setEnabled(type == CommandType::ClockSync && !cekComputerTime->isChecked());
    UpdateButtons();
}

void CommandDialog::UpdateButtons() {
    const bool sbo = SelectBeforeOperate(Type());
    btnSelect->setEnabled(!running_ && sbo);
    btnExecute->setEnabled(!running_ && (selected_ || !sbo));
    btnCancel->setEnabled(!running_ && sbo);
    btnDirect->setEnabled(!running_ && sbo);
}

CommandPlan CommandDialog::Plan(CommandMode mode) const {
    CommandPlan plan;
    plan.mode = mode;
    plan.timeout = std::chrono::milliseconds(spnTimeout->value());
    CommandRequest& request = plan.request;
    request.type = Type();
    if (HasObject(request.type)) {
        const std::string text = txtIoa->text().trimmed().toStdString();
        const auto ioa = ini::ParseInteger(text);
        const int octets = station_.Profile().sizes.objectAddress;
        const std::int64_t max = (std::int64_t{1} << (kBitsPerOctet * octets)) - 1;
        if (text.empty() || !ioa || *ioa < 0 || *ioa > max)
            throw Refused(QStringLiteral(u"信息体地址 \"%1\" 不可用: 0 至 %2, 十进制或以 0x 开头的十六进制")
                              .arg(txtIoa->text())
                              .arg(max));
        request.objectAddress = static_cast<std::uint32_t>(*ioa);
    }
    if (HasState(request.type)) request.value = cmbState->currentData().toInt();
    if (HasValue(request.type)) {
        bool number = false;
        const double value = txtValue->text().trimmed().toDouble(&number);
        const bool whole = number && std::trunc(value) == value;
        const bool fits = [&] {
            switch (request.type) {
                case CommandType::SetNormalised: return number && value >= -1 && value < 1;
                case CommandType::SetScaled: return whole && value >= kMinScaled && value <= kMaxScaled;
                case CommandType::SetFloat: return number && std::isfinite(value);
                default: return whole && value >= 0 && value <= kMaxQualifierOctet;
            }
        }();
        if (!fits)
            throw Refused(QStringLiteral(u"值 \"%1\" 不可用: %2").arg(txtValue->text(), ValueHint(request.type)));
        request.value = value;
    }
    request.qualifier = static_cast<std::uint8_t>(spnQu->isEnabled() ? spnQu->value() : 0);
    if (request.type == CommandType::ClockSync)
        request.time = Cp56Of(cekComputerTime->isChecked() ? QDateTime::currentDateTime() : dteTime->dateTime());
    return plan;
}

void CommandDialog::Start(CommandMode mode) {
    RunCommand([&] {
        if (!links_.portOpen()) throw Refused(QStringLiteral(u"端口未打开, 不能发送命令"));
        const CommandPlan plan = Plan(mode);
        station_.StartCommand(plan, links_.address());
        running_ = true;
        runningMode_ = mode;
        selected_ = false;
        lblResult->setText(QStringLiteral(u"进行中…"));
        UpdateButtons();
        tmrCommand->start();
    });
}

void CommandDialog::TimerTick() {
    // Only while the command runs: a tick after it would be a poll nobody asked for.
    if (station_.CommandRunning() && links_.portOpen()) links_.tick();
    for (const CommandLogLine& line : station_.TakeCommandLines()) ShowLine(QString::fromStdString(line.text), line.trouble);
    if (station_.CommandRunning()) {
        if (links_.portOpen()) return;
        lblResult->setText(QStringLiteral(u"端口已关闭"));
    } else if (const auto outcome = station_.TakeCommandOutcome()) {
        lblResult->setText(ResultText(*outcome));
        selected_ = runningMode_ == CommandMode::SelectOnly && outcome->result == CommandResult::Confirmed;
    }
    running_ = false;
    tmrCommand->stop();
    UpdateButtons();
}

void CommandDialog::ShowLine(const QString& text, bool trouble) {
    auto* item = new QListWidgetItem(text, lstSteps);
    if (trouble) item->setForeground(Qt::red);
    lstSteps->scrollToItem(item);
}

}  // namespace tc101
