#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FSFiniteStateMachine.h"

namespace {

class RecordingMachine : public MFSFiniteStateMachine {
public:
    std::vector<std::string> calls;

protected:
    void OnLeaveState(int oldState) override { calls.push_back("leave " + std::to_string(oldState)); }
    void OnEnterState(int newState, int oldState) override {
        calls.push_back("enter " + std::to_string(newState) + " from " + std::to_string(oldState));
    }
};

TEST(FiniteStateMachine, IgnoresMinusOneAndTheCurrentStateWithoutCallingHooks) {
    RecordingMachine machine;
    machine.SetState(-1);
    EXPECT_EQ(machine.State(), -1);
    EXPECT_TRUE(machine.calls.empty());

    machine.SetState(4);
    machine.calls.clear();
    machine.SetState(4);
    machine.SetState(-1);
    EXPECT_EQ(machine.State(), 4);
    EXPECT_TRUE(machine.calls.empty());
}

TEST(FiniteStateMachine, FirstStateIsNeverLeftThroughTheHook) {
    RecordingMachine machine;
    machine.SetState(0);  // previous still -1: no leave
    machine.SetState(3);  // previous was -1 before this call: no leave either
    machine.SetState(4);  // now 3 is left
    const std::vector<std::string> expected = {"enter 0 from -1", "enter 3 from 0", "leave 3",
                                               "enter 4 from 3"};
    EXPECT_EQ(machine.calls, expected);
    EXPECT_EQ(machine.PreviousState(), 3);
}

}  // namespace
