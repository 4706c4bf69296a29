// The dialog's clock: the balloon's withdrawal, the refresh on the clock's slots, and the
// catch-up refresh after a sleep or a network that was away.
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "tray/mSysTray.h"
#include "weather/DisplayFormat.h"
#include "widget/frmMain.h"

namespace {
constexpr float kBalloonSeconds = 10.0f;
// A gap longer than this between two ticks is a sleep or a clock set forward, not a busy
// window thread: the network may not be back yet, so the catch-up refresh serves it.
constexpr std::int64_t kLongestLateTick = 60;
constexpr int kResumeDelaySeconds = 10;
constexpr const char* kOldDataNote = " | Stand: ";
}  // namespace

void frmSet::Timer1_Timer() {
    if (!services_ || unloaded_) return;
    RetryTrayIcon();
    WithdrawBalloon();
    RunSchedule();
}

void frmSet::WithdrawBalloon() {
    if (BalloonTime <= 0 || !BalloonsSupported()) return;
    const float now = services_->clock.SecondsSinceMidnight();
    // A balloon time after now means the clock passed midnight: that balloon is over too.
    if (now >= BalloonTime && now < BalloonTime + kBalloonSeconds) return;
    BalloonPending = false;
    BalloonTime = 0;
    // An empty balloon text takes a balloon still on screen away.
    TrayNotify(TrayMessage::Modify, TrayTip, "", "", 0, 1000);
}

void frmSet::RunSchedule() {
    const std::int64_t now = WholeSeconds(services_->clock.Now());
    const ScheduleClock::Span span = LastSlot.Tick(now);
    const int interval = ScheduleInterval(coMinText);
    NoteOldData(now, interval);
    const bool longGap = span.upTo - span.after > kLongestLateTick;
    if (longGap) AwaitNetwork(kResumeDelaySeconds);
    bool due = !longGap && SlotBetween(interval, span.after, span.upTo);
    // A disabled cChk is a refresh under way: the slots it covers are passed over, not caught up.
    const bool ready = ckRefresh.Value == 1 && !Trim(tCID).empty() && cChkEnabled && !refreshing_ && interval != 0;
    if (!ready) return;
    // A catch-up try refreshes only when a slot was missed since the data shown; a network still
    // away sets the next try (NoNetwork).
    if (!due && catchUp_.Take(now)) due = !dataShown_ || SlotBetween(interval, WholeSeconds(*dataShown_), now);
    if (due) StartRefresh(false);
}

void frmSet::PowerResumed() { AwaitNetwork(kResumeDelaySeconds); }

void frmSet::NetworkChanged() { AwaitNetwork(kResumeDelaySeconds); }

void frmSet::AwaitNetwork(int delaySeconds) {
    if (services_) catchUp_.Restart(WholeSeconds(services_->clock.Now()), delaySeconds);
}

void frmSet::NoNetwork() { catchUp_.NoNetwork(WholeSeconds(services_->clock.Now())); }

void frmSet::DataShown() {
    catchUp_.Done();
    failing_ = false;
    dataShown_ = services_->clock.Now();
}

// Data older than two intervals says so in the title's tooltip; the title itself stays.
void frmSet::NoteOldData(std::int64_t now, int interval) {
    const std::int64_t slot = SlotSeconds(interval);
    Label& title = main_.lTitle[0];
    if (!dataShown_ || slot == 0 || now - WholeSeconds(*dataShown_) <= 2 * slot ||
        title.ToolTipText.find(kOldDataNote) != std::string::npos)
        return;
    title.ToolTipText = Cat(title.ToolTipText, kOldDataNote, FormatDate(*dataShown_, "DD.MM.  HH:NN", services_->locale), " ");
}
