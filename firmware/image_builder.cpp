#include "firmware/image_builder.h"

#include <algorithm>
#include <cstdint>

#include "common/conversions.h"
#include "common/message_pump.h"
#include "firmware/hex_lines.h"

namespace zorvan {

namespace {

constexpr int64_t kFillMax = 60000;
constexpr size_t kFillPiece = 40;                // digits per append of the fill
constexpr size_t kFillSlice = 25'000 * kFillPiece;  // digits written between message checks

// The characters of `line` from 1-based `position`, at most `count`, clipped at its end.
std::string_view Copy(std::string_view line, size_t position, size_t count) {
  if (position > line.size()) return {};
  return line.substr(position - 1, count);
}

// Adds [first, end) to ranges kept in record order, joining a range that continues the
// previous one, as consecutive records do.
void NoteWritten(std::vector<ByteRange>& ranges, uint32_t first, uint32_t end) {
  if (first == end) return;
  if (!ranges.empty() && ranges.back().End == first) {
    ranges.back().End = end;
  } else {
    ranges.push_back({first, end});
  }
}

void SortAndMerge(std::vector<ByteRange>& ranges) {
  std::sort(ranges.begin(), ranges.end(),
            [](const ByteRange& a, const ByteRange& b) { return a.First < b.First; });
  std::vector<ByteRange> merged;
  for (const ByteRange& r : ranges) {
    if (!merged.empty() && r.First <= merged.back().End) {
      merged.back().End = std::max(merged.back().End, r.End);
    } else {
      merged.push_back(r);
    }
  }
  ranges.swap(merged);
}

}  // namespace

void FillImage(OperatorSurface& surface, std::string& image) {
  surface.SetGaugeMax(kFillMax);
  surface.SetGaugeProgress(0);
  MessagePump pump(surface);
  image.clear();
  image.reserve(kImageLength);
  while (image.size() < kImageLength) {
    pump.Tick();
    image.append(std::min(kFillSlice, kImageLength - image.size()), 'F');
    surface.SetGaugeProgress(static_cast<int64_t>(image.size() / kFillPiece));
  }
}

bool PlaceRecords(OperatorSurface& surface, const HexText& text, std::string& image,
                  std::vector<ByteRange>& written) {
  MessagePump pump(surface);
  written.clear();
  int64_t segment_base = 0;  // in digits; 64 bits so no address can wrap round
  for (size_t i = 0; i < text.LineCount(); ++i) {
    pump.Tick();
    const std::string_view line = text.Line(i);
    if (line.empty() || line.front() != ':') continue;
    auto fail = [&](const char* head) {
      surface.MessageBeep(MB_ICONHAND);
      surface.ShowMessage(LineMessage(head, i + 1, line));
      surface.SetGaugeProgress(0);
      return false;
    };
    if (line.size() < 9) return fail(kTruncatedRecordHead);
    switch (line[8]) {
      case '1':
        SortAndMerge(written);
        return true;
      case '2':
        segment_base = int64_t{HexFieldToInt(Copy(line, 10, 4))} * 32;
        break;
      case '4':
        segment_base = int64_t{HexFieldToInt(Copy(line, 10, 4))} * 131072;
        break;
      case '5':
        return fail(kStartLinearAddressHead);
      case '0': {
        const int64_t count = HexFieldToInt(Copy(line, 2, 2));
        const int64_t address = HexFieldToInt(Copy(line, 4, 4));
        const int64_t digits = 2 * count;
        // The data digits stand between the type and the checksum.
        if (static_cast<int64_t>(line.size()) < 11 + digits) return fail(kTruncatedRecordHead);
        const int64_t position = segment_base + 2 * address;
        // A record without data places nothing, wherever it points.
        if (digits == 0) break;
        if (position < 0 || position + digits > static_cast<int64_t>(kImageLength)) {
          return fail(kOutsideImageHead);
        }
        std::copy_n(line.data() + 9, digits, image.begin() + position);
        NoteWritten(written, static_cast<uint32_t>(position / 2),
                    static_cast<uint32_t>((position + digits) / 2));
        break;
      }
      default:
        break;
    }
    surface.StepGauge(1);
  }
  SortAndMerge(written);
  return true;
}

bool PrepareImage(OperatorSurface& surface, HexText& text, ImageState& image) {
  text.UpperCase();
  const int64_t last_line = static_cast<int64_t>(text.LineCount()) - 1;
  surface.SetGaugeMax(last_line);
  surface.SetGaugeProgress(0);
  if (!CheckHexLines(surface, text)) return false;
  FillImage(surface, image.SpareImage);
  surface.SetGaugeMax(last_line);
  surface.SetGaugeProgress(0);
  std::vector<ByteRange> written;
  if (!PlaceRecords(surface, text, image.SpareImage, written)) return false;
  image.ImageText.swap(image.SpareImage);
  image.WrittenRanges = std::move(written);
  image.ImageComplete = true;
  surface.BringToFront();
  surface.SetGaugeProgress(0);
  surface.SetEnabled(Control::ButtonWrite, true);
  surface.MessageBeep(MB_ICONASTERISK);
  return true;
}

}  // namespace zorvan
