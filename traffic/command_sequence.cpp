#include "traffic/command_sequence.h"

namespace tc101 {

namespace {

std::vector<CommandStep> StepsOf(const CommandPlan& plan) {
    switch (plan.mode) {
        case CommandMode::SelectExecute:
            if (SelectBeforeOperate(plan.request.type)) return {CommandStep::Select, CommandStep::Execute};
            return {CommandStep::Execute};
        case CommandMode::SelectOnly: return {CommandStep::Select};
        case CommandMode::ExecuteOnly: return {CommandStep::Execute};
        case CommandMode::Cancel: return {CommandStep::Cancel};
    }
    return {};
}

// Executed commands and counter interrogations end with a termination.
bool EndsWithTermination(CommandType type) {
    return SelectBeforeOperate(type) || type == CommandType::CounterInterrogation;
}

std::string CauseText(std::uint8_t cause) { return " (COT " + std::to_string(cause) + ")"; }

}  // namespace

CommandSequence::CommandSequence(const CommandPlan& plan, std::uint32_t commonAddress, const LinkProfile& profile,
                                 Clock::time_point now)
    : plan_(plan), commonAddress_(commonAddress), profile_(profile), steps_(StepsOf(plan)), deadline_(now + plan.timeout) {}

std::string CommandSequence::StepName() const { return std::string(CommandStepName(plan_.request.type, Step())); }

std::optional<CommandSequence::Next> CommandSequence::NextAction(Clock::time_point now,
                                                                 std::vector<CommandLogLine>& lines) {
    if (outcome_) return std::nullopt;
    if (now >= deadline_) {
        lines.push_back({true, StepName() + ": 超时 (" + std::to_string(plan_.timeout.count()) + " ms)"});
        Finish(CommandResult::Timeout);
        return std::nullopt;
    }
    if (!commandSent_) return Next{Action::Command, Step()};
    return Next{Action::Class1, Step()};
}

void CommandSequence::CommandSent(Clock::time_point now) {
    commandSent_ = true;
    deadline_ = now + plan_.timeout;
}

void CommandSequence::Received(std::span<const std::uint8_t> asdu, Clock::time_point now,
                               std::vector<CommandLogLine>& lines) {
    if (outcome_ || !commandSent_) return;
    const auto reply = ReadCommandReply(asdu, plan_.request, commonAddress_, profile_);
    if (!reply) return;
    if (reply->negative) {
        lines.push_back({true, StepName() + ": 否定确认" + CauseText(reply->cause)});
        Finish(CommandResult::Negative, reply->cause);
        return;
    }
    const CommandStep step = Step();
    const bool wanted = awaiting_ == Awaiting::Termination
                            ? reply->kind == ReplyKind::Termination
                            : (step == CommandStep::Cancel ? reply->kind == ReplyKind::DeactivationConfirm
                                                           : reply->kind == ReplyKind::ActivationConfirm ||
                                                                 reply->kind == ReplyKind::Data);
    if (!wanted) return;
    if (reply->kind == ReplyKind::Termination) {
        lines.push_back({false, StepName() + ": 终止" + CauseText(reply->cause)});
        NextStep(now);
        return;
    }
    lines.push_back({false, StepName() + ": 确认" + CauseText(reply->cause)});
    if (step == CommandStep::Execute && EndsWithTermination(plan_.request.type)) {
        awaiting_ = Awaiting::Termination;
        deadline_ = now + plan_.timeout;
        return;
    }
    NextStep(now);
}

void CommandSequence::NextStep(Clock::time_point now) {
    if (++step_ >= steps_.size()) {
        step_ = steps_.size() - 1;
        Finish(CommandResult::Confirmed);
        return;
    }
    commandSent_ = false;
    awaiting_ = Awaiting::Confirmation;
    deadline_ = now + plan_.timeout;
}

void CommandSequence::Finish(CommandResult result, std::uint8_t cause) { outcome_ = CommandOutcome{result, cause}; }

std::string CommandResultText(const CommandOutcome& outcome) {
    switch (outcome.result) {
        case CommandResult::Confirmed: return "confirmed";
        case CommandResult::Negative: return "negative COT " + std::to_string(outcome.cause);
        case CommandResult::Timeout: return "timeout";
    }
    return "";
}

}  // namespace tc101
