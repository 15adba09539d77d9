// The DirectShow base pieces on their own: media-type values and the
// property page frame.

#include <gtest/gtest.h>

#include <cstring>

#include "dshow/property_page.h"
#include "test_support.h"

namespace brontel::test {
namespace {

using brontel::ComPtr;

// ---- media types

TEST(MediaTypeValue, AssignCopiesTheFormatBlockDeeply) {
  dshow::MediaType original = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
  dshow::MediaType copy;
  ASSERT_EQ(S_OK, copy.Assign(original.Get()));
  ASSERT_NE(original->pbFormat, copy->pbFormat);
  EXPECT_TRUE(dshow::MediaTypesEqual(original.Get(), copy.Get()));
  reinterpret_cast<VIDEOINFOHEADER*>(original->pbFormat)->bmiHeader.biWidth = 640;
  EXPECT_FALSE(dshow::MediaTypesEqual(original.Get(), copy.Get()));
  EXPECT_EQ(720, reinterpret_cast<VIDEOINFOHEADER*>(copy->pbFormat)->bmiHeader.biWidth);
}

TEST(MediaTypeValue, MoveLeavesTheSourceEmpty) {
  dshow::MediaType original = MakeVideoType(MEDIASUBTYPE_UYVY, 720, 576, 16);
  BYTE* format = original->pbFormat;
  dshow::MediaType moved(std::move(original));
  EXPECT_EQ(format, moved->pbFormat);
  EXPECT_TRUE(original.IsEmpty());
  EXPECT_EQ(nullptr, original->pbFormat);
  EXPECT_EQ(0u, original->cbFormat);
}

TEST(MediaTypeValue, EqualityLooksAtTypesAndFormatBytes) {
  dshow::MediaType a = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
  struct Case {
    const char* name;
    void (*change)(AM_MEDIA_TYPE&);
    bool equal;
  };
  const Case cases[] = {
      {"unchanged", [](AM_MEDIA_TYPE&) {}, true},
      {"sample size only", [](AM_MEDIA_TYPE& m) { m.lSampleSize = 1; }, true},
      {"subtype", [](AM_MEDIA_TYPE& m) { m.subtype = MEDIASUBTYPE_UYVY; }, false},
      {"major type", [](AM_MEDIA_TYPE& m) { m.majortype = MEDIATYPE_Audio; }, false},
      {"format type", [](AM_MEDIA_TYPE& m) { m.formattype = FORMAT_VideoInfo2; }, false},
      {"format length", [](AM_MEDIA_TYPE& m) { m.cbFormat -= 1; }, false},
      {"last format byte", [](AM_MEDIA_TYPE& m) { m.pbFormat[m.cbFormat - 1] ^= 1; }, false},
  };
  for (const Case& c : cases) {
    dshow::MediaType b;
    ASSERT_EQ(S_OK, b.Assign(a.Get()));
    ULONG size = b->cbFormat;
    c.change(b.Get());
    EXPECT_EQ(c.equal, dshow::MediaTypesEqual(a.Get(), b.Get())) << c.name;
    b->cbFormat = size;
  }
}

TEST(MediaTypeValue, PartialPatternsMatchWhatTheySpecify) {
  dshow::MediaType yuy2 = MakeVideoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
  AM_MEDIA_TYPE anything{};
  AM_MEDIA_TYPE video{};
  video.majortype = MEDIATYPE_Video;
  AM_MEDIA_TYPE uyvy{};
  uyvy.majortype = MEDIATYPE_Video;
  uyvy.subtype = MEDIASUBTYPE_UYVY;
  AM_MEDIA_TYPE audio{};
  audio.majortype = MEDIATYPE_Audio;
  EXPECT_TRUE(dshow::IsPartiallySpecified(anything));
  EXPECT_FALSE(dshow::IsPartiallySpecified(yuy2.Get()));
  EXPECT_TRUE(dshow::MatchesPartial(yuy2.Get(), anything));
  EXPECT_TRUE(dshow::MatchesPartial(yuy2.Get(), video));
  EXPECT_FALSE(dshow::MatchesPartial(yuy2.Get(), uyvy));
  EXPECT_FALSE(dshow::MatchesPartial(yuy2.Get(), audio));
  EXPECT_TRUE(dshow::MatchesPartial(yuy2.Get(), yuy2.Get()));
}

// ---- property page frame

// A page whose dialog template this module does not hold.
class PageWithoutTemplate final : public dshow::PropertyPage {
 public:
  PageWithoutTemplate() : PropertyPage(kMissingDialog, kMissingDialog) {}
  static constexpr int kMissingDialog = 9999;
};

TEST(PropertyPageFrame, MissingDialogTemplateIsReportedWithTheSystemsReason) {
  struct Case {
    const char* name;
    HRESULT (*call)(IPropertyPage*);
  };
  const Case cases[] = {
      {"GetPageInfo",
       [](IPropertyPage* page) {
         PROPPAGEINFO info{};
         return page->GetPageInfo(&info);
       }},
      {"Activate",
       [](IPropertyPage* page) {
         RECT rect{0, 0, 100, 100};
         return page->Activate(GetDesktopWindow(), &rect, FALSE);
       }},
  };
  for (const Case& c : cases) {
    auto* page = new PageWithoutTemplate();
    HRESULT hr = c.call(page);
    EXPECT_TRUE(FAILED(hr)) << c.name;
    // The resource loader's own error, not a blanket failure.
    EXPECT_EQ(FACILITY_WIN32, HRESULT_FACILITY(hr)) << c.name << " " << std::hex << hr;
    page->Release();
  }
}

}  // namespace
}  // namespace brontel::test
