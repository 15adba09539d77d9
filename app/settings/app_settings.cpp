#include "app/settings/app_settings.h"

#include <algorithm>
#include <type_traits>
#include <vector>

namespace brontel {
namespace {

enum class Kind { kLong, kText, kReal, kDateTime };

// One stored value of a record type G: its name, kind and where it lives.
template <class G>
struct Field {
  const char* name;
  Kind kind;
  void* (*at)(G&);
};

template <class T, Kind K>
constexpr bool KindMatches() {
  if constexpr (K == Kind::kLong) return std::is_same_v<T, std::int32_t>;
  if constexpr (K == Kind::kText) return std::is_same_v<T, std::string>;
  if constexpr (K == Kind::kReal) return std::is_same_v<T, double>;
  return std::is_same_v<T, DateTime>;
}

#define BRONTEL_FIELD(G, K, name, member)                                          \
  Field<G> {                                                                       \
    name, K, [](G& g) -> void* {                                                   \
      static_assert(KindMatches<std::remove_reference_t<decltype(g.member)>, K>(), \
                    "field kind does not match its member");                       \
      return &g.member;                                                            \
    }                                                                              \
  }
#define L_(G, name, member) BRONTEL_FIELD(G, Kind::kLong, name, member)
#define S_(G, name, member) BRONTEL_FIELD(G, Kind::kText, name, member)
#define R_(G, name, member) BRONTEL_FIELD(G, Kind::kReal, name, member)
#define T_(G, name, member) BRONTEL_FIELD(G, Kind::kDateTime, name, member)

// AppSet, in stored order. "InstallPath" and "bHasAVICapt" belong to the
// installation: they are read but never written.
const Field<AppSetGroup> kAppSetFields[] = {
    L_(AppSetGroup, "lCountryCode", lCountryCode),
    L_(AppSetGroup, "lPanelXPos", lPanelXPos),
    L_(AppSetGroup, "lPanelYPos", lPanelYPos),
    L_(AppSetGroup, "lScreenXPos", lScreenXPos),
    L_(AppSetGroup, "lScreenYPos", lScreenYPos),
    L_(AppSetGroup, "lScreenXSize", lScreenXSize),
    L_(AppSetGroup, "lScreenYSize", lScreenYSize),
    L_(AppSetGroup, "lVolLevel", lVolLevel),
    L_(AppSetGroup, "bAudioOn", bAudioOn),
    L_(AppSetGroup, "msCurrSrc", msCurrSrc),
    L_(AppSetGroup, "imsCurrSrcIndex", imsCurrSrcIndex),
    L_(AppSetGroup, "amCurrAudioMode", amCurrAudioMode),
    L_(AppSetGroup, "cmCurrRecMode", cmCurrRecMode),
    L_(AppSetGroup, "bPlaybackInPIP", bPlaybackInPIP),
    S_(AppSetGroup, "InstallPath", InstallPath),
    L_(AppSetGroup, "AlwaysOnTop", AlwaysOnTop),
    L_(AppSetGroup, "bHasAVICapt", bHasAVICapt),
    L_(AppSetGroup, "bHideNoOvrlaySpt", bHideNoOvrlaySpt),
};

bool IsReadOnlyAppValue(const char* name) {
  return std::string(name) == "InstallPath" || std::string(name) == "bHasAVICapt";
}

const Field<TVSetGroup> kTVSetFields[] = {
    L_(TVSetGroup, "lPrefCode", lPrefCode),     L_(TVSetGroup, "lAreaCode", lAreaCode),
    L_(TVSetGroup, "lTVChnCount", lTVChnCount), L_(TVSetGroup, "lCurrChn", lCurrChn),
    L_(TVSetGroup, "lTunerSrc", lTunerSrc),     L_(TVSetGroup, "amPrefSAPMode", amPrefSAPMode),
};

const Field<ChannelEntry> kChannelFields[] = {
    L_(ChannelEntry, "lChn", lChn),
    L_(ChannelEntry, "lFreqChn", lFreqChn),
    R_(ChannelEntry, "dPresetFreq", dPresetFreq),
    R_(ChannelEntry, "dFreqOffset", dFreqOffset),
    S_(ChannelEntry, "szTVStnName", szTVStnName),
    S_(ChannelEntry, "szTVPIStnName", szTVPIStnName),
};

const Field<VidClrGroup> kColourFields[] = {
    L_(VidClrGroup, "TV_lBrightness", tv.lBrightness),
    L_(VidClrGroup, "TV_lContrast", tv.lContrast),
    L_(VidClrGroup, "TV_lSaturation", tv.lSaturation),
    L_(VidClrGroup, "TV_lHue", tv.lHue),
    L_(VidClrGroup, "VIDEO1_lBrightness", video1.lBrightness),
    L_(VidClrGroup, "VIDEO1_lContrast", video1.lContrast),
    L_(VidClrGroup, "VIDEO1_lSaturation", video1.lSaturation),
    L_(VidClrGroup, "VIDEO1_lHue", video1.lHue),
    L_(VidClrGroup, "VIDEO2_lBrightness", video2.lBrightness),
    L_(VidClrGroup, "VIDEO2_lContrast", video2.lContrast),
    L_(VidClrGroup, "VIDEO2_lSaturation", video2.lSaturation),
    L_(VidClrGroup, "VIDEO2_lHue", video2.lHue),
};
// Only the colours in use carry these two.
const Field<VidClrGroup> kColourInUseFields[] = {
    L_(VidClrGroup, "bColorAllSame", bColorAllSame),
    L_(VidClrGroup, "bUseDeinterlacer", bUseDeinterlacer),
};
// A freshly created colour group stores this contrast for the second video
// input; a reader that finds it missing still uses the usual 53.
constexpr std::int32_t kFirstVideo2Contrast = 50;

const Field<SnapSetGroup> kSnapSetFields[] = {
    S_(SnapSetGroup, "szDestDir", szDestDir),
    L_(SnapSetGroup, "lCaptDim", lCaptDim),
    L_(SnapSetGroup, "lJPGQuality", lJPGQuality),
    L_(SnapSetGroup, "lImageFormat", lImageFormat),
    L_(SnapSetGroup, "lFileNameType", lFileNameType),
    L_(SnapSetGroup, "lFileCounter", lFileCounter),
};

const Field<CaptSetGroup> kCaptSetFields[] = {
    S_(CaptSetGroup, "szRecDestDir", szRecDestDir),
    S_(CaptSetGroup, "szTimeShiftDestDir", szTimeShiftDestDir),
    S_(CaptSetGroup, "szAudioDevice", szAudioDevice),
    S_(CaptSetGroup, "szAudioInputSrc", szAudioInputSrc),
    L_(CaptSetGroup, "Rec_clt", Rec_clt),
    L_(CaptSetGroup, "lRecTimeLimitSec", lRecTimeLimitSec),
    L_(CaptSetGroup, "bMultiple", bMultiple),
    L_(CaptSetGroup, "lRecSizeLimitMB", lRecSizeLimitMB),
    L_(CaptSetGroup, "lTSBufferSizeMB", lTSBufferSizeMB),
    L_(CaptSetGroup, "iRecQuickProfile", iRecQuickProfile),
    L_(CaptSetGroup, "iTSQuickProfile", iTSQuickProfile),
};
constexpr char kRecEncoderRecord[] = "Rec_spc";
constexpr char kTSEncoderRecord[] = "TS_spc";
constexpr int kNFramesField = 22;  // "dwnFrames": not written on first creation

const Field<RdSetGroup> kRdSetFields[] = {
    L_(RdSetGroup, "lRDStnCount", lRDStnCount),
    L_(RdSetGroup, "lCurrStn", lCurrStn),
};

const Field<StationEntry> kStationFields[] = {
    L_(StationEntry, "lStn", lStn),
    R_(StationEntry, "dPresetFreq", dPresetFreq),
    R_(StationEntry, "dFreqOffset", dFreqOffset),
    S_(StationEntry, "szRDStnName", szRDStnName),
};

const Field<ScheSetGroup> kScheSetFields[] = {
    L_(ScheSetGroup, "lScheItemCount", lScheItemCount),
    S_(ScheSetGroup, "szIEPG1_Name", szIEPG1_Name),
    S_(ScheSetGroup, "szIEPG1_URL", szIEPG1_URL),
    S_(ScheSetGroup, "szIEPG2_Name", szIEPG2_Name),
    S_(ScheSetGroup, "szIEPG2_URL", szIEPG2_URL),
};

// Schedule entry values in their written order.
const Field<ScheItem> kScheItemFields[] = {
    L_(ScheItem, "msSrcType", msSrcType),
    L_(ScheItem, "sfType", sfType),
    L_(ScheItem, "lChn", lChn),
    S_(ScheItem, "szChnName", szChnName),
    S_(ScheItem, "szScheDesc", szScheDesc),
    T_(ScheItem, "tStartDateTime", tStartDateTime),
    T_(ScheItem, "tStopDateTime", tStopDateTime),
    L_(ScheItem, "bOvernight", bOvernight),
    L_(ScheItem, "bCompleted", bCompleted),
    L_(ScheItem, "lCaptMode", lCaptMode),
    L_(ScheItem, "bMultipleCapture", bMultipleCapture),
    L_(ScheItem, "ScheMultRec_clt", ScheMultRec_clt),
    L_(ScheItem, "lScheMultRecTimeLimitSec", lScheMultRecTimeLimitSec),
    L_(ScheItem, "lScheMultRecSizeLimitMB", lScheMultRecSizeLimitMB),
};
constexpr char kCompletedValue[] = "bCompleted";

template <class G, std::size_t N>
void ReadFields(const StoreKey& key, const Field<G> (&fields)[N], const G& defaults, G* out) {
  for (const Field<G>& f : fields) {
    void* target = f.at(*out);
    const void* fallback = f.at(const_cast<G&>(defaults));
    switch (f.kind) {
      case Kind::kLong:
        *static_cast<std::int32_t*>(target) =
            ReadLongOr(key, f.name, *static_cast<const std::int32_t*>(fallback));
        break;
      case Kind::kText:
        *static_cast<std::string*>(target) =
            ReadTextOr(key, f.name, *static_cast<const std::string*>(fallback));
        break;
      case Kind::kReal:
        *static_cast<double*>(target) = ReadReal(key, f.name);
        break;
      case Kind::kDateTime:
        *static_cast<DateTime*>(target) =
            ReadDateTime(key, f.name, *static_cast<const DateTime*>(fallback));
        break;
    }
  }
}

template <class G, std::size_t N, class Skip>
void WriteFields(const StoreKey& key, const Field<G> (&fields)[N], const G& values, Skip skip) {
  for (const Field<G>& f : fields) {
    if (skip(f.name)) continue;
    const void* source = f.at(const_cast<G&>(values));
    switch (f.kind) {
      case Kind::kLong:
        WriteLong(key, f.name, *static_cast<const std::int32_t*>(source));
        break;
      case Kind::kText:
        WriteText(key, f.name, *static_cast<const std::string*>(source));
        break;
      case Kind::kReal:
        WriteReal(key, f.name, *static_cast<const double*>(source));
        break;
      case Kind::kDateTime:
        WriteDateTime(key, f.name, *static_cast<const DateTime*>(source));
        break;
    }
  }
}

template <class G, std::size_t N>
void WriteFields(const StoreKey& key, const Field<G> (&fields)[N], const G& values) {
  WriteFields(key, fields, values, [](const char*) { return false; });
}

void ReadEncoder(const StoreKey& key, EncoderParams* params) {
  const EncoderParams defaults;
  for (int i = 0; i < kEncoderFieldCount; ++i) {
    params->Field(i) = static_cast<std::uint32_t>(
        ReadLongOr(key, kEncoderFieldNames[i], static_cast<std::int32_t>(defaults.Field(i))));
  }
}

void WriteEncoder(const StoreKey& key, const EncoderParams& params, bool firstCreation) {
  for (int i = 0; i < kEncoderFieldCount; ++i) {
    if (firstCreation && i == kNFramesField) continue;
    WriteLong(key, kEncoderFieldNames[i], static_cast<std::int32_t>(params.Field(i)));
  }
}

std::string RecordPath(SettingsGroup group, const std::string& record) {
  return GroupPath(group) + "\\" + record;
}

// Opens a record key for saving; a missing record is skipped, never created.
StoreKey OpenRecord(SettingsStore& store, SettingsGroup group, const std::string& record) {
  return OpenSettingsKey(store, RecordPath(group, record));
}

StoreKey CreateRecord(SettingsStore& store, SettingsGroup group, const std::string& record) {
  StoreKey key;
  CreateSettingsKey(store, RecordPath(group, record), &key);
  return key;
}

}  // namespace

const char* const kEncoderFieldNames[kEncoderFieldCount] = {
    "dwframes_in_group",
    "dwframes_in_subgroup",
    "dwmpeg_type",
    "dwbit_rate",
    "dwframe_rate_code",
    "dwme_performance",
    "dwpixel_aspect_ratio",
    "dwvideo_format",
    "dwhD1_mode",
    "dwaudio_mode",
    "dwaudio_bitrate_index",
    "dwaudio_frequency",
    "dwprofile",
    "dwlevel",
    "dwn_closed_gop_count",
    "dwbit_rate_mode",
    "dwvbr_mode",
    "dwvbr_quant_scale",
    "dwvbr_max_bit_rate",
    "dwvbr_avg_bit_rate",
    "dwvbr_max_avg",
    "dwvbr_min_avg",
    "dwnFrames",
    "dwnseq_hdr_count",
    "dwreserved",
    "dwresolution",
    "dwcappreview",
};

std::uint32_t& EncoderParams::Field(int index) {
  return reinterpret_cast<std::uint32_t*>(this)[index];
}
std::uint32_t EncoderParams::Field(int index) const {
  return reinterpret_cast<const std::uint32_t*>(this)[index];
}

const char* GroupName(SettingsGroup group) {
  switch (group) {
    case SettingsGroup::kAppSet:
      return "AppSet";
    case SettingsGroup::kTVSet:
      return "TVSet";
    case SettingsGroup::kVidClrSet:
      return "VidClrSet";
    case SettingsGroup::kVidClrDefSet:
      return "VidClrDefSet";
    case SettingsGroup::kSnapSet:
      return "SnapSet";
    case SettingsGroup::kCaptSet:
      return "CaptSet";
    case SettingsGroup::kRdSet:
      return "RdSet";
    case SettingsGroup::kScheSet:
      return "ScheSet";
  }
  return "";
}

std::string GroupPath(SettingsGroup group) {
  return std::string(kSettingsRoot) + "\\" + GroupName(group);
}

DateTime DefaultScheDateTime() {
  return MakeLocalDateTime(2000, 1, 1, 12, 0);
}

ScheItem::ScheItem() : tStartDateTime(DefaultScheDateTime()), tStopDateTime(tStartDateTime) {}

std::string ChannelRecordName(int index) {
  return ThreeDigitRecordName("ChnInfo", index + 1);
}
std::string StationRecordName(int index) {
  return TwoDigitRecordName("StnInfo", index + 1);
}
std::string ScheItemRecordName(int index) {
  return TwoDigitRecordName("ScheItem", index + 1);
}

// --- primitives ---------------------------------------------------------

std::int32_t ReadLong(const StoreKey& key, const std::string& name) {
  std::string text;
  if (!key || !key.store().QueryString(key.id(), name, &text)) return kMissingValue;
  return ParseLong(text);
}

std::int32_t ReadText(const StoreKey& key, const std::string& name, std::string* text) {
  std::string value;
  if (!key || !key.store().QueryString(key.id(), name, &value)) return kMissingValue;
  *text = CutText(value);
  return 0;
}

double ReadReal(const StoreKey& key, const std::string& name) {
  std::string text;
  if (!key || !key.store().QueryString(key.id(), name, &text)) return 0.0;
  return ParseReal(CutText(text));
}

DateTime ReadDateTime(const StoreKey& key, const std::string& name, DateTime fallback) {
  std::string text;
  if (!key || !key.store().QueryString(key.id(), name, &text)) return fallback;
  return ParseDateTime(CutText(text));
}

std::int32_t ReadLongOr(const StoreKey& key, const std::string& name, std::int32_t fallback) {
  const std::int32_t value = ReadLong(key, name);
  return value == kMissingValue ? fallback : value;
}

std::string ReadTextOr(const StoreKey& key, const std::string& name, const std::string& fallback) {
  std::string text;
  return ReadText(key, name, &text) == 0 ? text : fallback;
}

bool WriteLong(const StoreKey& key, const std::string& name, std::int32_t value) {
  return key && key.store().SetString(key.id(), name, FormatLong(value), true);
}

bool WriteText(const StoreKey& key, const std::string& name, const std::string& text) {
  return key && key.store().SetString(key.id(), name, text, false);
}

bool WriteReal(const StoreKey& key, const std::string& name, double value) {
  return WriteText(key, name, FormatReal(value));
}

bool WriteDateTime(const StoreKey& key, const std::string& name, DateTime value) {
  return WriteText(key, name, FormatDateTime(value));
}

bool WriteDword(const StoreKey& key, const std::string& name, std::uint32_t value, ValueType type) {
  return key && key.store().SetDword(key.id(), name, value, type);
}

void ReadScheItem(const StoreKey& key, ScheItem* item) {
  const ScheItem defaults;
  ReadFields(key, kScheItemFields, defaults, item);
}

void WriteScheItem(const StoreKey& key, const ScheItem& item, bool withCompleted) {
  WriteFields(key, kScheItemFields, item, [withCompleted](const char* name) {
    return !withCompleted && std::string(name) == kCompletedValue;
  });
}

// --- CAppSettings -------------------------------------------------------

void CAppSettings::SetScreenGeometry(int screenWidth, int screenHeight, int panelWidth) {
  m_screenWidth = screenWidth;
  m_screenHeight = screenHeight;
  m_panelWidth = panelWidth;
}

namespace {

AppSetGroup AppSetDefaults(int screenWidth, int screenHeight, int panelWidth) {
  AppSetGroup g;
  // The video window is 400 x 300 in the middle of the screen and the panel
  // sits centred just below it.
  g.lScreenXPos = screenWidth / 2 - 200;
  g.lScreenYPos = screenHeight / 2 - 150;
  g.lPanelXPos = screenWidth / 2 - panelWidth / 2;
  g.lPanelYPos = screenHeight / 2 + 151;
  return g;
}

VidClrGroup FirstCreatedColours() {
  VidClrGroup g;
  g.video2.lContrast = kFirstVideo2Contrast;
  return g;
}

}  // namespace

void CAppSettings::ResetGroup(SettingsGroup group) {
  switch (group) {
    case SettingsGroup::kAppSet:
      appSet = AppSetDefaults(m_screenWidth, m_screenHeight, m_panelWidth);
      break;
    case SettingsGroup::kTVSet:
      tvSet = TVSetGroup();
      break;
    case SettingsGroup::kVidClrSet:
      vidClrSet = VidClrGroup();
      break;
    case SettingsGroup::kVidClrDefSet:
      vidClrDefSet = VidClrGroup();
      break;
    case SettingsGroup::kSnapSet:
      snapSet = SnapSetGroup();
      break;
    case SettingsGroup::kCaptSet:
      captSet = CaptSetGroup();
      break;
    case SettingsGroup::kRdSet:
      rdSet = RdSetGroup();
      break;
    case SettingsGroup::kScheSet:
      scheSet = ScheSetGroup();
      break;
  }
}

void CAppSettings::WriteDefaults(SettingsStore& store, SettingsGroup group) {
  StoreKey key;
  ResetGroup(group);
  if (CreateSettingsKey(store, GroupPath(group), &key) != SettingsStore::kOk) return;
  switch (group) {
    case SettingsGroup::kAppSet:
      WriteFields(key, kAppSetFields, appSet, IsReadOnlyAppValue);
      break;
    case SettingsGroup::kTVSet:
      WriteFields(key, kTVSetFields, tvSet);
      for (int i = 0; i < kChannelRecordCount; ++i) {
        WriteFields(CreateRecord(store, group, ChannelRecordName(i)), kChannelFields,
                    tvSet.channels[i]);
      }
      break;
    case SettingsGroup::kVidClrSet:
    case SettingsGroup::kVidClrDefSet: {
      VidClrGroup& colours = group == SettingsGroup::kVidClrSet ? vidClrSet : vidClrDefSet;
      colours = FirstCreatedColours();
      WriteFields(key, kColourFields, colours);
      if (group == SettingsGroup::kVidClrSet) WriteFields(key, kColourInUseFields, colours);
      break;
    }
    case SettingsGroup::kSnapSet:
      WriteFields(key, kSnapSetFields, snapSet);
      break;
    case SettingsGroup::kCaptSet:
      WriteFields(key, kCaptSetFields, captSet);
      WriteEncoder(CreateRecord(store, group, kRecEncoderRecord), captSet.Rec_spc, true);
      WriteEncoder(CreateRecord(store, group, kTSEncoderRecord), captSet.TS_spc, true);
      break;
    case SettingsGroup::kRdSet:
      WriteFields(key, kRdSetFields, rdSet);
      for (int i = 0; i < kStationRecordCount; ++i) {
        WriteFields(CreateRecord(store, group, StationRecordName(i)), kStationFields,
                    rdSet.stations[i]);
      }
      break;
    case SettingsGroup::kScheSet:
      WriteFields(key, kScheSetFields, scheSet);
      WriteScheItem(CreateRecord(store, group, kScheItemTempName), ScheItem(), false);
      for (int i = 0; i < kScheItemCount; ++i) {
        WriteScheItem(CreateRecord(store, group, ScheItemRecordName(i)), scheSet.items[i], false);
      }
      break;
  }
}

void CAppSettings::EnsureKeys(SettingsStore& store) {
  for (int g = 0; g < kSettingsGroupCount; ++g) {
    const SettingsGroup group = static_cast<SettingsGroup>(g);
    if (OpenSettingsKey(store, GroupPath(group))) continue;
    WriteDefaults(store, group);
  }
}

void CAppSettings::LoadGroup(SettingsStore& store, SettingsGroup group) {
  const StoreKey key = OpenSettingsKey(store, GroupPath(group));
  if (!key) {
    ResetGroup(group);
    return;
  }
  switch (group) {
    case SettingsGroup::kAppSet:
      ReadFields(key, kAppSetFields, AppSetDefaults(m_screenWidth, m_screenHeight, m_panelWidth),
                 &appSet);
      break;
    case SettingsGroup::kTVSet:
      ReadFields(key, kTVSetFields, TVSetGroup(), &tvSet);
      for (int i = 0; i < kChannelRecordCount; ++i) {
        // A record that cannot be opened keeps what memory holds.
        const StoreKey record = OpenRecord(store, group, ChannelRecordName(i));
        if (record) ReadFields(record, kChannelFields, ChannelEntry(), &tvSet.channels[i]);
      }
      break;
    case SettingsGroup::kVidClrSet:
      ReadFields(key, kColourFields, VidClrGroup(), &vidClrSet);
      ReadFields(key, kColourInUseFields, VidClrGroup(), &vidClrSet);
      break;
    case SettingsGroup::kVidClrDefSet:
      ReadFields(key, kColourFields, VidClrGroup(), &vidClrDefSet);
      break;
    case SettingsGroup::kSnapSet:
      ReadFields(key, kSnapSetFields, SnapSetGroup(), &snapSet);
      break;
    case SettingsGroup::kCaptSet: {
      ReadFields(key, kCaptSetFields, CaptSetGroup(), &captSet);
      const StoreKey rec = OpenRecord(store, group, kRecEncoderRecord);
      if (rec) ReadEncoder(rec, &captSet.Rec_spc);
      const StoreKey ts = OpenRecord(store, group, kTSEncoderRecord);
      if (ts) ReadEncoder(ts, &captSet.TS_spc);
      break;
    }
    case SettingsGroup::kRdSet:
      ReadFields(key, kRdSetFields, RdSetGroup(), &rdSet);
      for (int i = 0; i < kStationRecordCount; ++i) {
        const StoreKey record = OpenRecord(store, group, StationRecordName(i));
        if (record) ReadFields(record, kStationFields, StationEntry(), &rdSet.stations[i]);
      }
      break;
    case SettingsGroup::kScheSet:
      ReadFields(key, kScheSetFields, ScheSetGroup(), &scheSet);
      for (int i = 0; i < kScheItemCount; ++i) {
        const StoreKey record = OpenRecord(store, group, ScheItemRecordName(i));
        if (record) ReadScheItem(record, &scheSet.items[i]);
      }
      break;
  }
}

void CAppSettings::LoadAll(SettingsStore& store) {
  EnsureKeys(store);
  static constexpr SettingsGroup kLoadOrder[] = {
      SettingsGroup::kAppSet,    SettingsGroup::kTVSet,   SettingsGroup::kVidClrDefSet,
      SettingsGroup::kVidClrSet, SettingsGroup::kSnapSet, SettingsGroup::kCaptSet,
      SettingsGroup::kRdSet,     SettingsGroup::kScheSet,
  };
  for (SettingsGroup group : kLoadOrder) LoadGroup(store, group);
}

void CAppSettings::SaveGroup(SettingsStore& store, SettingsGroup group) const {
  // The defaults are never saved over: they are what "reset" returns to.
  if (group == SettingsGroup::kVidClrDefSet) return;
  StoreKey key;
  if (CreateSettingsKey(store, GroupPath(group), &key) != SettingsStore::kOk) return;
  switch (group) {
    case SettingsGroup::kAppSet:
      WriteFields(key, kAppSetFields, appSet, IsReadOnlyAppValue);
      break;
    case SettingsGroup::kTVSet:
      WriteFields(key, kTVSetFields, tvSet);
      for (int i = 0; i < kChannelRecordCount; ++i) {
        const StoreKey record = OpenRecord(store, group, ChannelRecordName(i));
        if (record) WriteFields(record, kChannelFields, tvSet.channels[i]);
      }
      break;
    case SettingsGroup::kVidClrSet:
      WriteFields(key, kColourFields, vidClrSet);
      WriteFields(key, kColourInUseFields, vidClrSet);
      break;
    case SettingsGroup::kVidClrDefSet:
      break;
    case SettingsGroup::kSnapSet:
      WriteFields(key, kSnapSetFields, snapSet);
      break;
    case SettingsGroup::kCaptSet: {
      WriteFields(key, kCaptSetFields, captSet);
      const StoreKey rec = OpenRecord(store, group, kRecEncoderRecord);
      if (rec) WriteEncoder(rec, captSet.Rec_spc, false);
      const StoreKey ts = OpenRecord(store, group, kTSEncoderRecord);
      if (ts) WriteEncoder(ts, captSet.TS_spc, false);
      break;
    }
    case SettingsGroup::kRdSet:
      WriteFields(key, kRdSetFields, rdSet);
      for (int i = 0; i < kStationRecordCount; ++i) {
        const StoreKey record = OpenRecord(store, group, StationRecordName(i));
        if (record) WriteFields(record, kStationFields, rdSet.stations[i]);
      }
      break;
    case SettingsGroup::kScheSet:
      WriteFields(key, kScheSetFields, scheSet);
      for (int i = 0; i < kScheItemCount; ++i) {
        const StoreKey record = OpenRecord(store, group, ScheItemRecordName(i));
        if (record) WriteScheItem(record, scheSet.items[i], true);
      }
      break;
  }
}

void CAppSettings::SaveAll(SettingsStore& store) const {
  static constexpr SettingsGroup kSaveOrder[] = {
      SettingsGroup::kAppSet,  SettingsGroup::kTVSet,   SettingsGroup::kVidClrSet,
      SettingsGroup::kSnapSet, SettingsGroup::kCaptSet, SettingsGroup::kRdSet,
      SettingsGroup::kScheSet,
  };
  for (SettingsGroup group : kSaveOrder) SaveGroup(store, group);
}

bool CAppSettings::ReadTempScheItem(SettingsStore& store, ScheItem* item) const {
  const StoreKey key =
      OpenSettingsKey(store, RecordPath(SettingsGroup::kScheSet, kScheItemTempName));
  if (!key) return false;
  ReadScheItem(key, item);
  return true;
}

bool CAppSettings::MarkScheItemCompleted(const ScheItem& item) {
  for (ScheItem& entry : scheSet.items) {
    if (entry.msSrcType == item.msSrcType && entry.sfType == item.sfType &&
        entry.lChn == item.lChn && entry.lCaptMode == item.lCaptMode &&
        entry.szChnName == item.szChnName && entry.szScheDesc == item.szScheDesc &&
        entry.tStartDateTime == item.tStartDateTime && entry.tStopDateTime == item.tStopDateTime) {
      entry.bCompleted = 1;
      return true;
    }
  }
  return false;
}

bool CAppSettings::WriteOutsidePlayerKey(SettingsStore& store) const {
  const StoreKey key = OpenSettingsKey(store, kOutsidePlayerKey);
  if (!key) return false;
  WriteDword(key, "LIGOSSplitterOnly", 0, ValueType::kDword);
  WriteDword(key, "MPEG2Only", 0, ValueType::kDword);
  WriteDword(key, "Precision", 1, ValueType::kDword);
  WriteDword(key, "UseOverlayMixer", 0, ValueType::kDword);
  return true;
}

}  // namespace brontel
