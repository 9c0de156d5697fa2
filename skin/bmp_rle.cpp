#include "skin/bmp_pixels.h"

namespace zcd::bmp {
namespace {

// Walks the stream in file order (bottom row first) and paints straight into
// the bitmap; every check happens before a pixel is written.
class RleDecoder {
 public:
  RleDecoder(const Format& f, std::span<const uint8_t> data, Bitmap& out)
      : f_(f),
        data_(data),
        out_(out),
        nibbles_(f.compression == kBiRle4),
        // Some encoders compress each row with its padding to four bytes, so
        // a run may reach into the padding; those pixels are dropped.
        row_limit_(nibbles_ ? (f.width + 7) / 8 * 8 : (f.width + 3) / 4 * 4) {}

  bool Run(std::string& error) {
    while (true) {
      uint8_t count = 0;
      uint8_t value = 0;
      if (!Next(count) || !Next(value)) {
        // A stream whose last line ended exactly at the top of the picture
        // is complete even without its end-of-bitmap marker.
        if (y_ >= f_.height && x_ == 0) {
          return true;
        }
        error = "truncated RLE data";
        return false;
      }
      if (count > 0) {
        if (!Room(count, error)) {
          return false;
        }
        for (int i = 0; i < count; ++i) {
          Put(nibbles_ ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
        }
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x_ = 0;
          ++y_;
          break;
        case 1:  // end of bitmap
          return true;
        case 2: {  // delta
          uint8_t dx = 0;
          uint8_t dy = 0;
          if (!Next(dx) || !Next(dy)) {
            error = "truncated RLE delta";
            return false;
          }
          if (x_ + dx > row_limit_ || y_ + dy >= f_.height) {
            error = "RLE delta moves outside the image";
            return false;
          }
          x_ += dx;
          y_ += dy;
          break;
        }
        default:
          if (!Absolute(value, error)) {
            return false;
          }
      }
    }
  }

 private:
  bool Next(uint8_t& byte) {
    if (pos_ >= data_.size()) {
      return false;
    }
    byte = data_[pos_++];
    return true;
  }

  bool Room(int count, std::string& error) {
    if (y_ >= f_.height) {
      error = "RLE data runs past the end of the image";
      return false;
    }
    if (x_ + count > row_limit_) {
      error = "RLE run runs past the end of the row";
      return false;
    }
    return true;
  }

  void Put(uint32_t index) {
    if (x_ < f_.width) {
      out_.At(x_, f_.height - 1 - y_) = PaletteColor(f_, index);
    }
    ++x_;
  }

  // Literal indexes, padded to a whole 16-bit word.
  bool Absolute(int count, std::string& error) {
    if (!Room(count, error)) {
      return false;
    }
    const size_t bytes = nibbles_ ? (count + 1) / 2 : count;
    const size_t padded = bytes + bytes % 2;
    if (padded > data_.size() - pos_) {
      error = "truncated RLE absolute run";
      return false;
    }
    for (int i = 0; i < count; ++i) {
      const uint8_t b = data_[pos_ + (nibbles_ ? i / 2 : i)];
      Put(nibbles_ ? (i % 2 == 0 ? b >> 4 : b & 0xF) : b);
    }
    pos_ += padded;
    return true;
  }

  const Format& f_;
  std::span<const uint8_t> data_;
  Bitmap& out_;
  bool nibbles_;
  int row_limit_;
  size_t pos_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace

std::optional<Bitmap> DecodeRle(const Format& f, std::span<const uint8_t> bytes,
                                std::string& error) {
  Bitmap out(f.width, f.height, PaletteColor(f, 0));
  RleDecoder decoder(f, bytes.subspan(f.data_offset), out);
  if (!decoder.Run(error)) {
    return std::nullopt;
  }
  return out;
}

}  // namespace zcd::bmp
