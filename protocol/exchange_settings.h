#pragma once
// How the loader's exchanges wait for their replies.

#include <optional>

namespace zorvan {

enum class ExchangeStyle {
  // Write the frame and read until the reply's final ";" has come, or until a deadline
  // that allows for the wire, the step's calibrated pause and the adapter: every exchange
  // ends as soon as the line and the adapter let the reply through.
  UntilReply,
  // Write the frame, pause for the step's calibrated pause, then read whatever comes
  // within the port's read time-outs, a silence ending the read. The first versions'
  // exchange; the run benchmark measures it beside the other.
  TimedWindow,
};

struct ExchangeSettings {
  ExchangeStyle style = ExchangeStyle::UntilReply;
  // How long a USB adapter may hold a reply back (its latency timer), when the system
  // reports nothing of the adapter behind the port: 16 ms is the common chips' factory
  // setting, and a little more covers the trip over USB.
  unsigned unknown_adapter_latency_ms = 20;
  // The latency timer the system reports for the adapter behind the port, looked up at
  // every opening; empty when it reports none.
  std::optional<unsigned> reported_adapter_latency_ms;

  unsigned AdapterLatencyMs() const { return reported_adapter_latency_ms.value_or(unknown_adapter_latency_ms); }
};

}  // namespace zorvan
