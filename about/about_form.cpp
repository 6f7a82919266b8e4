#include "about/about_form.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "about/cpu_clock.h"
#include "about/system_probe.h"
#include "files/shipped_document.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

constexpr int kClientWidth = 362;
constexpr int kClientHeight = 245;
constexpr int kFontPoints = 9;
constexpr int kIconSize = 32;

const char kVersionText[] = "2.8";
const char kMakerText[] = "tc101tool 项目";

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QLabel* NewLabel(const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The look of a link label: under the pointer blue, bold and underlined with
// the hand; otherwise black and plain with the default pointer.
void SetLinkLook(QLabel* label, bool hot) {
    QFont font = label->font();
    font.setBold(hot);
    font.setUnderline(hot);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, hot ? QColor(Qt::blue) : QColor(Qt::black));
    label->setPalette(palette);
    if (hot)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}

}  // namespace

AboutProbes SystemAboutProbes() {
    return {MeasureCpuMhz, ReadPhysicalMemoryBytes, ReadOsVersion,
            [](const QUrl& url) { return QDesktopServices::openUrl(url); }};
}

TAboutfrm::TAboutfrm(QWidget* parent, AboutProbes probes) : QDialog(parent), probes_(std::move(probes)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    FormCreate();
}

void TAboutfrm::BuildControls() {
    setWindowTitle(QStringLiteral("关于"));
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(kFontPoints);
    setFont(font);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setFixedSize(kIconSize, kIconSize);
    ProductName = NewLabel(QStringLiteral("软件名称："), this);
    Version = NewLabel(QString(), this);
    lblMaker = NewLabel(QString(), this);
    lblOs = NewLabel(QStringLiteral("操作系统："), this);
    lblOs->setWordWrap(true);  // a distribution's pretty name can be long
    lblMemory = NewLabel(QStringLiteral("可用内存："), this);
    lableCpu = NewLabel(QStringLiteral("CPU频率："), this);
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);

    lblContact = NewLabel(QStringLiteral("说明与反馈："), this);
    lblweb = NewLabel(QStringLiteral("README.md"), this);
    lblweb->setToolTip(QUrl::fromLocalFile(QString::fromStdString(ShippedDocument("README.md").string())).toString());
    lblmail = NewLabel(QStringLiteral("写邮件反馈"), this);
    lblmail->setToolTip(QStringLiteral("mailto:?subject=tc101tool%202.8"));
    for (QLabel* link : {lblweb, lblmail}) {
        link->setMouseTracking(true);
        link->installEventFilter(this);
        link->setAlignment(Qt::AlignCenter);
        SetLinkLook(link, false);
        // Room for the bold look, so the links do not shift under the pointer.
        QFont bold = link->font();
        bold.setBold(true);
        link->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(link->text()) + 2);
    }

    btnClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Close"), this);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);

    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    for (QLabel* label : {ProductName, Version, lblMaker}) names->addWidget(label);
    auto* head = new QHBoxLayout;
    head->addWidget(ProgramIcon, 0, Qt::AlignTop);
    head->addSpacing(8);
    head->addLayout(names, 1);

    auto* links = new QHBoxLayout;
    links->addStretch();
    links->addWidget(lblweb);
    links->addSpacing(24);
    links->addWidget(lblmail);
    links->addStretch();

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 10, 12, 10);
    main->setSpacing(4);
    main->addLayout(head);
    main->addSpacing(6);
    for (QLabel* label : {lblOs, lblMemory, lableCpu}) main->addWidget(label);
    main->addWidget(Bevel1);
    main->addWidget(lblContact, 0, Qt::AlignHCenter);
    main->addLayout(links);
    main->addStretch();
    main->addWidget(btnClose, 0, Qt::AlignHCenter);

    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TAboutfrm::FormCreate() {
    lableCpu->setText(QStringLiteral("CPU频率：") + Utf8(FormatClockText(probes_.cpuMhz ? probes_.cpuMhz() : 0)));
    try {
        const QString title = QGuiApplication::applicationDisplayName();
        setWindowTitle(QStringLiteral("关于[") + title + QStringLiteral("]"));
        QIcon icon = QApplication::windowIcon();
        if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_ComputerIcon);
        ProgramIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
        ProductName->setText(ProductName->text() + title);
        Version->setText(Version->text() + QString::fromUtf8(kVersionText));
        lblMaker->setText(lblMaker->text() + QString::fromUtf8(kMakerText));
        lblMemory->setText(lblMemory->text() + Utf8(FormatMemoryText(probes_.memoryBytes())));
        lblOs->setText(lblOs->text() + Utf8(FormatOsText(probes_.osVersion())));
    } catch (const std::exception&) {
        ShowInformation(parentWidget(), QStringLiteral("某些信息不能取得"), QStringLiteral("提示"));
    }
}

bool TAboutfrm::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label != lblweb && label != lblmail) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        lblMouseMove(label);
        break;
    case QEvent::Leave:
        lblMouseLeave(label);
        break;
    case QEvent::MouseButtonPress:
        lblMouseDown(label);
        return true;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutfrm::lblMouseMove(QLabel* label) { SetLinkLook(label, true); }

void TAboutfrm::lblMouseLeave(QLabel* label) { SetLinkLook(label, false); }

void TAboutfrm::lblMouseDown(QLabel* label) {
    const QUrl url(label->toolTip(), QUrl::StrictMode);
    bool failed = !url.isValid() || url.isEmpty() || !probes_.openUrl;
    if (!failed) {
        try {
            probes_.openUrl(url);  // a target that merely fails to open is not reported
        } catch (const std::exception&) {
            failed = true;
        }
    }
    if (failed) ShowInformation(this, QStringLiteral("网络设置有问题"), QString::fromUtf16(kSystemPromptFullWidth));
}

}  // namespace tc101
