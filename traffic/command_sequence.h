#pragma once

// One command from start to end as the master plays it: select, wait for
// the activation confirmation, execute, its confirmation and termination;
// or one step alone (select only, execute only, cancel). It decides what
// goes out next and reads the replies; the station sends and logs. Every
// step has its own time limit.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "protocol/commands.h"
#include "protocol/link_profile.h"

namespace tc101 {

enum class CommandMode : std::uint8_t { SelectExecute, SelectOnly, ExecuteOnly, Cancel };

inline constexpr std::chrono::milliseconds kDefaultCommandTimeout{5000};

struct CommandPlan {
    CommandRequest request;
    CommandMode mode = CommandMode::SelectExecute;
    std::chrono::milliseconds timeout = kDefaultCommandTimeout;  // per step
};

enum class CommandResult : std::uint8_t { Confirmed, Negative, Timeout };
struct CommandOutcome {
    CommandResult result = CommandResult::Confirmed;
    std::uint8_t cause = 0;  // of the negative confirmation
};

// A step's outcome as the log shows it: "选择: 确认 (COT 7)", "执行: 否定确认
// (COT 47)", "执行: 终止 (COT 10)", "选择: 超时 (5000 ms)".
struct CommandLogLine {
    bool trouble = false;
    std::string text;
};

class CommandSequence {
public:
    using Clock = std::chrono::steady_clock;

    CommandSequence(const CommandPlan& plan, std::uint32_t commonAddress, const LinkProfile& profile,
                    Clock::time_point now);

    enum class Action : std::uint8_t { Command, Class1 };
    struct Next {
        Action action = Action::Command;
        CommandStep step = CommandStep::Execute;
    };
    // What to send at this tick: the step's command once, then class 1
    // requests until it is answered. Nothing once finished; a step past its
    // time limit finishes the sequence with a timeout line.
    std::optional<Next> NextAction(Clock::time_point now, std::vector<CommandLogLine>& lines);
    // The step's command left: its time limit starts.
    void CommandSent(Clock::time_point now);
    // A received ASDU; the lines of the outcomes it brings.
    void Received(std::span<const std::uint8_t> asdu, Clock::time_point now, std::vector<CommandLogLine>& lines);

    const std::optional<CommandOutcome>& Outcome() const { return outcome_; }
    const CommandPlan& Plan() const { return plan_; }
    CommandStep Step() const { return steps_[step_]; }
    // When the current step runs out of time (NextAction says so then).
    Clock::time_point Deadline() const { return deadline_; }

private:
    // What the current step waits for.
    enum class Awaiting : std::uint8_t { Confirmation, Termination };
    void Finish(CommandResult result, std::uint8_t cause = 0);
    void NextStep(Clock::time_point now);
    std::string StepName() const;

    CommandPlan plan_;
    std::uint32_t commonAddress_;
    LinkProfile profile_;
    std::vector<CommandStep> steps_;
    std::size_t step_ = 0;
    bool commandSent_ = false;
    Awaiting awaiting_ = Awaiting::Confirmation;
    Clock::time_point deadline_;
    std::optional<CommandOutcome> outcome_;
};

// "confirmed", "negative COT N", "timeout".
std::string CommandResultText(const CommandOutcome& outcome);

}  // namespace tc101
