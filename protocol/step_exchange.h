#pragma once
// The exchanges of one step of a loader procedure: the same frame, sent at every attempt
// until a reply is taken. A reply that comes too late for its own attempt comes during a
// later one; it answers the same frame and may be taken there, but it must never be read
// as the reply to the next step's frame. So a retry first takes away what earlier attempts
// left on the line, and a step that ends with replies still owed to it waits for them.

#include <string>
#include <string_view>

#include "protocol/flasher.h"
#include "protocol/reply_reading.h"

namespace zorvan {

// Where a reply ends: at its first ";", or (a device's description, which may hold one)
// at a ";" that the line stays quiet after.
enum class ReplyEnd { FirstSemicolon, QuietAfterSemicolon };

class StepExchange {
 public:
  // `reply_chars`: the most a reply is read to.
  StepExchange(Flasher& flasher, std::string_view frame, int reply_chars, ReplyEnd end = ReplyEnd::FirstSemicolon);

  // Sends the frame for one attempt, whose reply is given `pause_ms` more than the line
  // needs. What the caller does between Send and Receive (a log line, a step of the gauge)
  // happens while the frame and its reply cross the line.
  void Send(unsigned pause_ms);
  // Reads the attempt's reply into `reply`: until its end has come, or, in the timed
  // window, what comes within the read after the pause.
  void Receive(std::string& reply);
  // Called once a reply has been taken: waits for the replies still owed to the step's
  // attempts and throws them away with anything else left on the line. The taken reply
  // may be the first attempt's, late; the last attempt's may then be as late, so the wait
  // lasts until its deadline, or as long after it was sent as the taken reply came after
  // the first, and the adapter's timer, whichever is later.
  void Finish();

 private:
  bool UntilReply() const { return flasher_.exchange.style == ExchangeStyle::UntilReply; }
  // Takes what has come, waiting until `until` while replies are still owed.
  void Collect(ReplyClock::time_point until);

  Flasher& flasher_;
  std::string frame_;
  int reply_chars_;
  ReplyEnd end_;
  unsigned pause_ms_ = 0;
  int sent_ = 0;
  int replies_ = 0;  // replies ended on the line since the first attempt, by their ";"
  ReplyClock::time_point first_sent_{};
  ReplyClock::time_point last_sent_{};
  ReplyClock::time_point deadline_{};  // the last attempt's
  ReplyClock::time_point received_{};  // when the last reply was read
};

}  // namespace zorvan
