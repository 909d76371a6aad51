// Ticks from real Windows thread timers. Each timer of the world is backed by a real thread
// timer with a short period; a due tick is brought to its procedure by running the thread's
// real message loop until that real timer fires, so the procedure is called from within
// DispatchMessage as Windows calls any timer procedure. The virtual clock moves one period
// per real tick.
#include "platform/standin/standin_calls.h"
#include "platform/standin/standin_timers.h"

namespace {

constexpr int MaxBindings = 16;
// The real period: Windows' smallest.
constexpr UINT RealPeriodMs = USER_TIMER_MINIMUM;

struct Binding {
    UINT_PTR virtualId;
    UINT_PTR realId;
};

Binding bindings[MaxBindings];

// The tick the innermost message loop waits for, and whether it came.
const StandInTimer* awaiting;
const MSG* awaitingMessage;
bool delivered;

Binding* BindingOf(UINT_PTR virtualId)
{
    for (Binding& b : bindings) {
        if (b.virtualId == virtualId && b.realId != 0) {
            return &b;
        }
    }
    return nullptr;
}

void CALLBACK RealTick(HWND /*window*/, UINT /*message*/, UINT_PTR realId, DWORD /*time*/)
{
    if (awaiting == nullptr || delivered) {
        return;  // a tick nobody waits for: the world has no tick due from this timer yet
    }
    const Binding* binding = BindingOf(awaiting->id);
    if (binding == nullptr || binding->realId != realId) {
        return;
    }
    delivered = true;
    StandInDispatchMessageA(awaitingMessage);
}

}  // namespace

void StandInTimerStarted(const StandInTimer& timer)
{
    Binding* binding = BindingOf(timer.id);
    if (binding == nullptr) {
        for (Binding& b : bindings) {
            if (b.realId == 0) {
                binding = &b;
                break;
            }
        }
    }
    if (binding == nullptr) {
        return;
    }
    if (binding->realId != 0) {
        KillTimer(nullptr, binding->realId);
    }
    binding->virtualId = timer.id;
    binding->realId = SetTimer(nullptr, 0, RealPeriodMs, RealTick);
}

void StandInTimerStopped(const StandInTimer& timer)
{
    Binding* binding = BindingOf(timer.id);
    if (binding != nullptr) {
        KillTimer(nullptr, binding->realId);
        *binding = Binding{};
    }
}

void StandInDeliverTick(const StandInTimer& timer, const MSG& message)
{
    if (BindingOf(timer.id) == nullptr) {
        StandInDispatchMessageA(&message);  // no real timer could be had: dispatch it directly
        return;
    }
    // The world's timer table may change under the procedure; wait on copies.
    const StandInTimer due = timer;
    const MSG dueMessage = message;
    const StandInTimer* outerAwaiting = awaiting;
    const MSG* outerMessage = awaitingMessage;
    const bool outerDelivered = delivered;
    awaiting = &due;
    awaitingMessage = &dueMessage;
    delivered = false;
    MSG real;
    while (!delivered && GetMessageA(&real, nullptr, 0, 0) > 0) {
        TranslateMessage(&real);
        DispatchMessageA(&real);
    }
    awaiting = outerAwaiting;
    awaitingMessage = outerMessage;
    delivered = outerDelivered;
}
