#include "outside/mpegenc/picture_convert.h"

#include <algorithm>
#include <cstring>

namespace mpegenc {
namespace {

constexpr std::uint32_t FourCc(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

int HalfUp(int v) {
  return (v + 1) / 2;
}

// 4:2:2 chroma rows (one per luma row, `height` rows of `width` samples)
// into a 4:2:0 plane of dst's padded size. Output chroma line k of a field
// lies between that field's luma lines 2k and 2k+1; the top field's sample
// sits a quarter of the way down, the bottom field's three quarters.
void VerticalFieldDownsample(const std::uint8_t* rows, int width, int height, std::uint8_t* out,
                             int outWidth, int outHeight) {
  for (int c = 0; c < outHeight; ++c) {
    const int field = c & 1;
    const int k = c >> 1;
    const int r0 = std::min(4 * k + field, height - 1);
    const int r1 = std::min(4 * k + 2 + field, height - 1);
    const int w0 = field == 0 ? 3 : 1;
    const int w1 = 4 - w0;
    const std::uint8_t* a = rows + static_cast<std::size_t>(r0) * width;
    const std::uint8_t* b = rows + static_cast<std::size_t>(r1) * width;
    std::uint8_t* o = out + static_cast<std::size_t>(c) * outWidth;
    for (int x = 0; x < outWidth; ++x) {
      const int sx = std::min(x, width - 1);
      o[x] = static_cast<std::uint8_t>((w0 * a[sx] + w1 * b[sx] + 2) >> 2);
    }
  }
}

void CopyPlanePadded(const std::uint8_t* src, int srcStride, int width, int height,
                     std::uint8_t* dst, int dstWidth, int dstHeight) {
  for (int y = 0; y < dstHeight; ++y) {
    const std::uint8_t* s = src + static_cast<std::size_t>(std::min(y, height - 1)) * srcStride;
    std::uint8_t* d = dst + static_cast<std::size_t>(y) * dstWidth;
    std::memcpy(d, s, static_cast<std::size_t>(width));
    std::memset(d + width, s[width - 1], static_cast<std::size_t>(dstWidth - width));
  }
}

}  // namespace

bool PictureFormatFromBitmap(std::uint32_t compression, int bitCount, PictureFormat* format) {
  PictureFormat f;
  if (compression == FourCc('Y', 'U', 'Y', '2')) {
    f = PictureFormat::kYuy2;
  } else if (compression == FourCc('U', 'Y', 'V', 'Y')) {
    f = PictureFormat::kUyvy;
  } else if (compression == FourCc('Y', 'V', 'Y', 'U')) {
    f = PictureFormat::kYvyu;
  } else if (compression == FourCc('I', '4', '2', '0') ||
             compression == FourCc('I', 'Y', 'U', 'V')) {
    f = PictureFormat::kI420;
  } else if (compression == FourCc('Y', 'V', '1', '2')) {
    f = PictureFormat::kYv12;
  } else if (compression == 0 && bitCount == 24) {  // BI_RGB
    f = PictureFormat::kRgb24;
  } else {
    return false;
  }
  *format = f;
  return true;
}

std::size_t PictureLayout::FrameBytes() const {
  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  switch (format) {
    case PictureFormat::kYuy2:
    case PictureFormat::kUyvy:
    case PictureFormat::kYvyu:
      return static_cast<std::size_t>(HalfUp(width)) * 4 * h;
    case PictureFormat::kI420:
    case PictureFormat::kYv12:
      return w * h + 2 * static_cast<std::size_t>(HalfUp(width)) * HalfUp(height);
    case PictureFormat::kRgb24:
      return ((w * 3 + 3) & ~static_cast<std::size_t>(3)) * h;
  }
  return 0;
}

void Frame420::Allocate(int paddedWidth, int paddedHeight) {
  width = paddedWidth;
  height = paddedHeight;
  y.assign(static_cast<std::size_t>(width) * height, 16);
  cb.assign(static_cast<std::size_t>(width / 2) * (height / 2), 128);
  cr.assign(cb.size(), 128);
}

void ConvertPicture(const PictureLayout& layout, const std::uint8_t* src, Frame420* dst) {
  const int w = layout.width, h = layout.height;
  const int cw = HalfUp(w);
  const int pw = dst->width, ph = dst->height;
  const int pcw = dst->ChromaWidth(), pch = dst->ChromaHeight();

  if (layout.format == PictureFormat::kI420 || layout.format == PictureFormat::kYv12) {
    const std::uint8_t* u = src + static_cast<std::size_t>(w) * h;
    const std::uint8_t* v = u + static_cast<std::size_t>(cw) * HalfUp(h);
    if (layout.format == PictureFormat::kYv12) std::swap(u, v);
    CopyPlanePadded(src, w, w, h, dst->y.data(), pw, ph);
    CopyPlanePadded(u, cw, cw, HalfUp(h), dst->cb.data(), pcw, pch);
    CopyPlanePadded(v, cw, cw, HalfUp(h), dst->cr.data(), pcw, pch);
    return;
  }

  // Packed 4:2:2 and RGB: luma straight into the frame, chroma as 4:2:2 rows
  // first.
  std::vector<std::uint8_t> lumaRows(static_cast<std::size_t>(w) * h);
  std::vector<std::uint8_t> cbRows(static_cast<std::size_t>(cw) * h), crRows(cbRows.size());
  if (layout.format == PictureFormat::kRgb24) {
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~static_cast<std::size_t>(3);
    for (int row = 0; row < h; ++row) {
      const std::uint8_t* s = src + stride * (layout.bottomUp ? h - 1 - row : row);
      std::uint8_t* yo = &lumaRows[static_cast<std::size_t>(row) * w];
      for (int x = 0; x < w; x += 2) {
        int sumB = 0, sumG = 0, sumR = 0, n = 0;
        for (int i = x; i < std::min(x + 2, w); ++i, ++n) {
          const int b = s[3 * i], g = s[3 * i + 1], r = s[3 * i + 2];
          // ITU-R BT.601 with studio swing, 16-bit fixed point.
          yo[i] = static_cast<std::uint8_t>(
              (16829 * r + 33039 * g + 6416 * b + (16 << 16) + 32768) >> 16);
          sumB += b;
          sumG += g;
          sumR += r;
        }
        const int r = sumR / n, g = sumG / n, b = sumB / n;
        const int cbv = (-9714 * r - 19070 * g + 28784 * b + (128 << 16) + 32768) >> 16;
        const int crv = (28784 * r - 24103 * g - 4681 * b + (128 << 16) + 32768) >> 16;
        cbRows[static_cast<std::size_t>(row) * cw + x / 2] =
            static_cast<std::uint8_t>(std::clamp(cbv, 0, 255));
        crRows[static_cast<std::size_t>(row) * cw + x / 2] =
            static_cast<std::uint8_t>(std::clamp(crv, 0, 255));
      }
    }
  } else {
    // Byte positions of Y0, U, Y1, V inside each 4-byte pair of pixels.
    int y0 = 0, u = 1, y1 = 2, v = 3;
    if (layout.format == PictureFormat::kUyvy) {
      u = 0, y0 = 1, v = 2, y1 = 3;
    } else if (layout.format == PictureFormat::kYvyu) {
      v = 1, u = 3;
    }
    const std::size_t stride = static_cast<std::size_t>(cw) * 4;
    for (int row = 0; row < h; ++row) {
      const std::uint8_t* s = src + stride * row;
      std::uint8_t* yo = &lumaRows[static_cast<std::size_t>(row) * w];
      std::uint8_t* cbo = &cbRows[static_cast<std::size_t>(row) * cw];
      std::uint8_t* cro = &crRows[static_cast<std::size_t>(row) * cw];
      for (int p = 0; p < cw; ++p) {
        const std::uint8_t* q = s + 4 * p;
        yo[2 * p] = q[y0];
        if (2 * p + 1 < w) yo[2 * p + 1] = q[y1];
        cbo[p] = q[u];
        cro[p] = q[v];
      }
    }
  }
  CopyPlanePadded(lumaRows.data(), w, w, h, dst->y.data(), pw, ph);
  VerticalFieldDownsample(cbRows.data(), cw, h, dst->cb.data(), pcw, pch);
  VerticalFieldDownsample(crRows.data(), cw, h, dst->cr.data(), pcw, pch);
}

}  // namespace mpegenc
