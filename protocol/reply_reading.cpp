#include "protocol/reply_reading.h"

#include <algorithm>

#include "serial/transfer_limits.h"

namespace zorvan {

ReplyClock::time_point ReplyDeadline(const Flasher& flasher, ReplyClock::time_point sent, size_t frame_chars,
                                     int reply_chars, unsigned pause_ms) {
  using std::chrono::milliseconds;
  const int rate = flasher.surface.BaudRateIndex();
  const LineSettings line{static_cast<TBaudRate>(rate), bs8, paNone, sb1};
  const auto wire = rate >= 0 && IsValid(line)
                        ? CharacterTime(line) * static_cast<int64_t>(frame_chars + static_cast<size_t>(reply_chars))
                        : std::chrono::nanoseconds::zero();
  constexpr milliseconds kBusyComputer{20};
  return sent + wire + milliseconds(pause_ms) + milliseconds(flasher.exchange.AdapterLatencyMs()) +
         milliseconds(reply_chars + 1) + kBusyComputer;
}

ReplyRead ReadReply(PortOperations& port, int count, ReplyClock::time_point deadline, ReplyClock::duration quiet) {
  const bool first_end = quiet == ReplyClock::duration::zero();
  std::string text;
  std::string piece;
  ReplyClock::time_point last_arrival{};
  for (;;) {
    if (first_end) {
      if (const size_t end = text.find(';'); end != std::string::npos) {
        return {text.substr(0, end + 1), text.substr(end + 1)};
      }
    }
    if (text.size() >= static_cast<size_t>(count)) break;
    const bool ended = !first_end && !text.empty() && text.back() == ';';
    const ReplyClock::time_point until = ended ? std::min(deadline, last_arrival + quiet) : deadline;
    port.ReadArrived(piece, count - static_cast<int>(text.size()), until);
    // Nothing came in time: the deadline has passed, or the quiet after a ";" has.
    if (piece.empty()) break;
    text += piece;
    last_arrival = ReplyClock::now();
  }
  return {text, {}};
}

int RepliesIn(std::string_view text) { return static_cast<int>(std::count(text.begin(), text.end(), ';')); }

}  // namespace zorvan
