#include "protocol/step_exchange.h"

#include <algorithm>

namespace zorvan {

namespace {

// As much as the port's receive queue holds.
constexpr int kQueueChars = 2048;

}  // namespace

StepExchange::StepExchange(Flasher& flasher, std::string_view frame, int reply_chars, ReplyEnd end)
    : flasher_(flasher), frame_(frame), reply_chars_(reply_chars), end_(end) {}

void StepExchange::Send(unsigned pause_ms) {
  pause_ms_ = pause_ms;
  if (UntilReply()) {
    if (sent_ > 0) Collect(ReplyClock::now());
    last_sent_ = ReplyClock::now();
    if (sent_ == 0) first_sent_ = last_sent_;
    deadline_ = ReplyDeadline(flasher_, last_sent_, frame_.size(), reply_chars_, pause_ms);
  }
  flasher_.port.WriteStr(frame_);
  ++sent_;
}

void StepExchange::Receive(std::string& reply) {
  if (!UntilReply()) {
    if (pause_ms_ > 0) flasher_.surface.Sleep(pause_ms_);
    reply.clear();
    flasher_.port.ReadStr(reply, reply_chars_);
    return;
  }
  // An adapter passes a long reply on in bursts, one every tick of its timer.
  const auto quiet = end_ == ReplyEnd::QuietAfterSemicolon
                         ? std::chrono::milliseconds(flasher_.exchange.AdapterLatencyMs() + 2)
                         : ReplyClock::duration::zero();
  ReplyRead read = ReadReply(flasher_.port, reply_chars_, deadline_, quiet);
  received_ = ReplyClock::now();
  replies_ += RepliesIn(read.reply) + RepliesIn(read.after);
  reply = std::move(read.reply);
}

void StepExchange::Finish() {
  if (!UntilReply() || replies_ >= sent_) return;
  const auto as_late = last_sent_ + (received_ - first_sent_) +
                       std::chrono::milliseconds(flasher_.exchange.AdapterLatencyMs());
  Collect(std::max(deadline_, as_late));
}

void StepExchange::Collect(ReplyClock::time_point until) {
  std::string taken;
  for (;;) {
    // Once nothing is owed any more, only what is already there is taken.
    flasher_.port.ReadArrived(taken, kQueueChars, replies_ < sent_ ? until : ReplyClock::time_point{});
    replies_ += RepliesIn(taken);
    if (taken.empty() || ReplyClock::now() >= until) return;
  }
}

}  // namespace zorvan
