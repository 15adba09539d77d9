#pragma once
// The in-memory mirror of every settings group, and the operations that
// create, load and save the groups in a settings store.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/settings/settings_store.h"
#include "app/settings/settings_values.h"

namespace brontel {

constexpr char kSettingsRoot[] = "SOFTWARE\\Kestrova\\Pellamy\\App";
constexpr char kOutsidePlayerKey[] = "SOFTWARE\\Ligos\\LSX-MPEG Player";
constexpr char kDefaultIepgSiteUrl[] = "http://tv.so-net.ne.jp/iepg/";

constexpr int kChannelRecordCount = 181;
constexpr int kStationRecordCount = 10;
constexpr int kScheItemCount = 10;
constexpr int kEncoderFieldCount = 27;

// The settings groups, in the order their keys are ensured.
enum class SettingsGroup {
  kAppSet,
  kTVSet,
  kVidClrSet,
  kVidClrDefSet,
  kSnapSet,
  kCaptSet,
  kRdSet,
  kScheSet,
};
constexpr int kSettingsGroupCount = 8;
const char* GroupName(SettingsGroup group);
// "SOFTWARE\Kestrova\Pellamy\App\<group>".
std::string GroupPath(SettingsGroup group);

struct AppSetGroup {
  std::int32_t lCountryCode = 81;
  std::int32_t lPanelXPos = 0;  // computed, see SetScreenGeometry
  std::int32_t lPanelYPos = 0;
  std::int32_t lScreenXPos = 0;
  std::int32_t lScreenYPos = 0;
  std::int32_t lScreenXSize = 400;
  std::int32_t lScreenYSize = 300;
  std::int32_t lVolLevel = 50;
  std::int32_t bAudioOn = 1;
  std::int32_t msCurrSrc = 0;
  std::int32_t imsCurrSrcIndex = 0;
  std::int32_t amCurrAudioMode = 1;
  std::int32_t cmCurrRecMode = 1;
  std::int32_t bPlaybackInPIP = 0;
  std::string InstallPath;  // read only
  std::int32_t AlwaysOnTop = 1;
  std::int32_t bHasAVICapt = 0;  // read only
  std::int32_t bHideNoOvrlaySpt = 0;
};

struct ChannelEntry {
  std::int32_t lChn = 0;
  std::int32_t lFreqChn = 0;
  double dPresetFreq = 0.0;
  double dFreqOffset = 0.0;
  std::string szTVStnName;
  std::string szTVPIStnName;
};

struct TVSetGroup {
  std::int32_t lPrefCode = 0;
  std::int32_t lAreaCode = 0;
  std::int32_t lTVChnCount = 0;
  std::int32_t lCurrChn = 0;
  std::int32_t lTunerSrc = 0;
  std::int32_t amPrefSAPMode = 4;
  std::array<ChannelEntry, kChannelRecordCount> channels{};
};

struct InputColour {
  std::int32_t lBrightness = 50;
  std::int32_t lContrast = 53;
  std::int32_t lSaturation = 50;
  std::int32_t lHue = 50;
};

// VidClrSet (colours in use) and VidClrDefSet (what "reset" returns to).
struct VidClrGroup {
  InputColour tv{50, 53, 75, 50};
  InputColour video1{};
  InputColour video2{};
  std::int32_t bColorAllSame = 0;     // VidClrSet only
  std::int32_t bUseDeinterlacer = 1;  // VidClrSet only
};

struct SnapSetGroup {
  std::string szDestDir = "C:\\";
  std::int32_t lCaptDim = 320;
  std::int32_t lJPGQuality = 75;
  std::int32_t lImageFormat = 3;
  std::int32_t lFileNameType = 1;
  std::int32_t lFileCounter = 1;
};

// Encoder parameters: 27 unsigned fields in their stored order.
struct EncoderParams {
  std::uint32_t dwframes_in_group = 0;
  std::uint32_t dwframes_in_subgroup = 0;
  std::uint32_t dwmpeg_type = 0;
  std::uint32_t dwbit_rate = 0;
  std::uint32_t dwframe_rate_code = 0;
  std::uint32_t dwme_performance = 0;
  std::uint32_t dwpixel_aspect_ratio = 0;
  std::uint32_t dwvideo_format = 0;
  std::uint32_t dwhD1_mode = 0;
  std::uint32_t dwaudio_mode = 0;
  std::uint32_t dwaudio_bitrate_index = 0;
  std::uint32_t dwaudio_frequency = 0;
  std::uint32_t dwprofile = 0;
  std::uint32_t dwlevel = 0;
  std::uint32_t dwn_closed_gop_count = 0;
  std::uint32_t dwbit_rate_mode = 0;
  std::uint32_t dwvbr_mode = 0;
  std::uint32_t dwvbr_quant_scale = 0;
  std::uint32_t dwvbr_max_bit_rate = 0;
  std::uint32_t dwvbr_avg_bit_rate = 0;
  std::uint32_t dwvbr_max_avg = 0;
  std::uint32_t dwvbr_min_avg = 0;
  std::uint32_t dwnFrames = 0;
  std::uint32_t dwnseq_hdr_count = 0;
  std::uint32_t dwreserved = 0;
  std::uint32_t dwresolution = 0;
  std::uint32_t dwcappreview = 1;

  // Field access by stored position, 0..26.
  std::uint32_t& Field(int index);
  std::uint32_t Field(int index) const;
};
static_assert(sizeof(EncoderParams) == kEncoderFieldCount * sizeof(std::uint32_t),
              "the encoder record is 27 packed 32-bit fields");
extern const char* const kEncoderFieldNames[kEncoderFieldCount];

struct CaptSetGroup {
  std::string szRecDestDir = "C:\\";
  std::string szTimeShiftDestDir = "C:\\";
  std::string szAudioDevice;
  std::string szAudioInputSrc;
  std::int32_t Rec_clt = 0;
  std::int32_t lRecTimeLimitSec = 1800;
  std::int32_t bMultiple = 0;
  std::int32_t lRecSizeLimitMB = 1024;
  std::int32_t lTSBufferSizeMB = 1024;
  std::int32_t iRecQuickProfile = 4;
  std::int32_t iTSQuickProfile = 1;
  EncoderParams Rec_spc;
  EncoderParams TS_spc;
};

struct StationEntry {
  std::int32_t lStn = 0;
  double dPresetFreq = 0.0;
  double dFreqOffset = 0.0;
  std::string szRDStnName;
};

struct RdSetGroup {
  std::int32_t lRDStnCount = 0;
  std::int32_t lCurrStn = 0;
  std::array<StationEntry, kStationRecordCount> stations{};
};

// One schedule entry.
struct ScheItem {
  ScheItem();
  std::int32_t msSrcType = 0;
  std::int32_t sfType = 0;
  std::int32_t lChn = 0;
  std::string szChnName;
  std::string szScheDesc;
  DateTime tStartDateTime = 0;  // 2000-1-1 12:00 local
  DateTime tStopDateTime = 0;   // 2000-1-1 12:00 local
  std::int32_t bOvernight = 0;
  std::int32_t lCaptMode = 1;
  std::int32_t bCompleted = 0;
  std::int32_t bMultipleCapture = 0;
  std::int32_t ScheMultRec_clt = 2;
  std::int32_t lScheMultRecTimeLimitSec = 1800;
  std::int32_t lScheMultRecSizeLimitMB = 100;
};
DateTime DefaultScheDateTime();

struct ScheSetGroup {
  std::int32_t lScheItemCount = 0;
  std::string szIEPG1_Name;
  std::string szIEPG1_URL = kDefaultIepgSiteUrl;
  std::string szIEPG2_Name;
  std::string szIEPG2_URL;
  std::array<ScheItem, kScheItemCount> items{};
};

// Record key names.
std::string ChannelRecordName(int index);   // "ChnInfo001" for index 0
std::string StationRecordName(int index);   // "StnInfo01" for index 0
std::string ScheItemRecordName(int index);  // "ScheItem01" for index 0
constexpr char kScheItemTempName[] = "ScheItemTemp";

// Primitives over an open key.
std::int32_t ReadLong(const StoreKey& key, const std::string& name);  // or kMissingValue
// Reads at most 255 characters into *text; returns 0 or kMissingValue.
std::int32_t ReadText(const StoreKey& key, const std::string& name, std::string* text);
double ReadReal(const StoreKey& key, const std::string& name);  // 0.0 when missing
DateTime ReadDateTime(const StoreKey& key, const std::string& name, DateTime fallback);
bool WriteLong(const StoreKey& key, const std::string& name, std::int32_t value);
bool WriteText(const StoreKey& key, const std::string& name, const std::string& text);
bool WriteReal(const StoreKey& key, const std::string& name, double value);
bool WriteDateTime(const StoreKey& key, const std::string& name, DateTime value);
bool WriteDword(const StoreKey& key, const std::string& name, std::uint32_t value, ValueType type);
// The integer, or `fallback` when it is missing.
std::int32_t ReadLongOr(const StoreKey& key, const std::string& name, std::int32_t fallback);
std::string ReadTextOr(const StoreKey& key, const std::string& name, const std::string& fallback);

// A schedule entry record. Reading keeps the defaults for missing values.
void ReadScheItem(const StoreKey& key, ScheItem* item);
// Writes in the stored order; `withCompleted` false leaves "bCompleted"
// alone, as a freshly created record does.
void WriteScheItem(const StoreKey& key, const ScheItem& item, bool withCompleted);

class CAppSettings {
 public:
  AppSetGroup appSet;
  TVSetGroup tvSet;
  VidClrGroup vidClrSet;
  VidClrGroup vidClrDefSet;
  SnapSetGroup snapSet;
  CaptSetGroup captSet;
  RdSetGroup rdSet;
  ScheSetGroup scheSet;

  // The screen size and the width of the skin's main panel, which the
  // computed position defaults depend on. Call before EnsureKeys/LoadAll.
  void SetScreenGeometry(int screenWidth, int screenHeight, int panelWidth);

  void EnsureKeys(SettingsStore& store);
  void LoadAll(SettingsStore& store);
  void SaveAll(SettingsStore& store) const;

  // Single groups, for the settings pages.
  void LoadGroup(SettingsStore& store, SettingsGroup group);
  void SaveGroup(SettingsStore& store, SettingsGroup group) const;
  // Puts the group's defaults into memory only.
  void ResetGroup(SettingsGroup group);

  // Reads "ScheItemTemp"; false when its key cannot be opened.
  bool ReadTempScheItem(SettingsStore& store, ScheItem* item) const;
  // Sets bCompleted on the first entry equal to `item` in memory; false when
  // none matches.
  bool MarkScheItemCompleted(const ScheItem& item);
  // Writes the outside player's four values when its key already exists.
  bool WriteOutsidePlayerKey(SettingsStore& store) const;

 private:
  void WriteDefaults(SettingsStore& store, SettingsGroup group);
  int m_screenWidth = 1024;
  int m_screenHeight = 768;
  int m_panelWidth = 0;
};

}  // namespace brontel
