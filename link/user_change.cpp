#include "link/user_change.h"

#include "link/link_state.h"

bool ApplyUserChange(ParamDesc& record, double value, ChangeHold hold, SetupEffect setup) {
    const double v = ClampToLimits(record, value);
    if (v == record.value) return false;
    record.value = v;
    record.flags |= UserChangeFlags;
    record.flags &= ~Resend;
    if (hold.rule == ChangeHold::Rule::SetTo)
        TransmitCount = hold.frames;
    else
        ++TransmitCount;
    if (setup == SetupEffect::MarkUnsaved) UnsavedChanges = 1;
    return true;
}

bool CommitUserValue(ParamDesc& record, double newValue, int holdFrames) {
    return ApplyUserChange(record, newValue, HoldFor(holdFrames), SetupEffect::MarkUnsaved);
}
