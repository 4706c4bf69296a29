// The dialog's clock: the balloon's withdrawal, the refresh on the clock's slots, and the
// catch-up refresh after a sleep or a network that was away.
#include <algorithm>
#include <cmath>

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

std::int64_t frmSet::NowSecond() { return WholeSeconds(services_->clock.UtcSeconds() / 86400.0); }

// A disabled cChk is a refresh under way: the slots it covers are passed over, not caught up.
bool frmSet::ScheduleReady(int interval) const {
    return ckRefresh.Value == 1 && !Trim(tCID).empty() && cChkEnabled && !refreshing_ && interval != 0;
}

void frmSet::RunSchedule() {
    const std::int64_t now = NowSecond();
    const ScheduleClock::Span span = LastSlot.Tick(now);
    const int interval = ScheduleInterval(coMinText);
    const OffsetAt offsetAt = [this](std::int64_t s) { return services_->clock.LocalOffset(s); };
    NoteOldData(now, interval);
    // Late is measured from the tick the timer aimed at, not from the last tick a slot ago.
    const std::int64_t expected = std::max(span.after, plannedTick_.value_or(span.after));
    const bool longGap = span.upTo - expected > kLongestLateTick;
    if (longGap) AwaitNetwork(kResumeDelaySeconds);
    const std::optional<std::int64_t> slot = NextSlot(interval, span.after, offsetAt);
    // A clock set back a little must not serve the slot just served once more.
    bool due = !longGap && slot && *slot <= span.upTo && slot != servedSlot_;
    if (!ScheduleReady(interval)) return;
    if (due) servedSlot_ = slot;
    // A catch-up try refreshes only when a slot was missed since the data shown; a network still
    // away sets the next try (NoNetwork).
    if (!due && catchUp_.Take(now)) {
        const std::optional<std::int64_t> missed = NextSlot(interval, dataShownSecond_, offsetAt);
        due = !dataShown_ || (missed && *missed <= now);
    }
    if (due) StartRefresh(false);
}

std::optional<frmSet::NextTickTime> frmSet::NextTick() {
    if (!services_ || unloaded_) return std::nullopt;
    const double exact = services_->clock.UtcSeconds();
    const std::int64_t now = WholeSeconds(exact / 86400.0);
    const int interval = ScheduleInterval(coMinText);
    std::optional<std::int64_t> next =
        NextSlot(interval, now, [this](std::int64_t s) { return services_->clock.LocalOffset(s); });
    const auto earlier = [&](std::int64_t at) { next = next ? std::min(*next, at) : at; };
    if (const auto due = catchUp_.Next(); due && ScheduleReady(interval)) earlier(std::max(*due, now + 1));
    if (TrayRetryPending()) earlier(std::max(nextTrayTry_, now + 1));
    const std::int64_t slot = SlotSeconds(interval);
    if (dataShown_ && slot > 0 && main_.lTitle[0].ToolTipText.find(kOldDataNote) == std::string::npos)
        earlier(std::max(dataShownSecond_ + 2 * slot + 1, now + 1));
    plannedTick_ = next;
    if (!next) return std::nullopt;
    return NextTickTime{*next, static_cast<double>(*next) - exact};
}

std::optional<std::uint32_t> frmSet::BalloonDueIn() {
    if (!services_ || unloaded_ || BalloonTime <= 0 || !BalloonsSupported()) return std::nullopt;
    const float now = services_->clock.SecondsSinceMidnight();
    // Midnight ends a balloon too (the tick's rule above).
    const float left = now < BalloonTime ? 0.0f : std::min(BalloonTime + kBalloonSeconds, 86400.0f) - now;
    return static_cast<std::uint32_t>(std::max(0.0f, left) * 1000.0f);
}

void frmSet::BalloonTimer() {
    if (services_ && !unloaded_) WithdrawBalloon();
}

void frmSet::PowerResumed() { AwaitNetwork(kResumeDelaySeconds); }

void frmSet::NetworkChanged() { AwaitNetwork(kResumeDelaySeconds); }

void frmSet::AwaitNetwork(int delaySeconds) {
    if (services_) catchUp_.Restart(NowSecond(), delaySeconds);
}

void frmSet::NoNetwork() { catchUp_.NoNetwork(NowSecond()); }

void frmSet::DataShown() {
    catchUp_.Done();
    failing_ = false;
    dataShown_ = services_->clock.Now();
    dataShownSecond_ = NowSecond();
}

// Data older than two intervals says so in the title's tooltip; the title itself stays.
void frmSet::NoteOldData(std::int64_t now, int interval) {
    const std::int64_t slot = SlotSeconds(interval);
    Label& title = main_.lTitle[0];
    if (!dataShown_ || slot == 0 || now - dataShownSecond_ <= 2 * slot ||
        title.ToolTipText.find(kOldDataNote) != std::string::npos)
        return;
    title.ToolTipText = Cat(title.ToolTipText, kOldDataNote, FormatDate(*dataShown_, "DD.MM.  HH:NN", services_->locale), " ");
}
