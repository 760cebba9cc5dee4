#include "app/FSFiniteStateMachine.h"

void MFSFiniteStateMachine::SetState(int newState) {
    if (newState == -1 || newState == state_) return;
    if (previous_ != -1) OnLeaveState(state_);
    previous_ = state_;
    state_ = newState;
    OnEnterState(newState, previous_);
}
