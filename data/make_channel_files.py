#!/usr/bin/env python3
"""Writes the channel ini files shipped with the board.

Run from anywhere: `python3 data/make_channel_files.py`. The files land next to
this script. The frequency tables are computed from the band plans below, so
the arithmetic can be checked here rather than in 400 hand-typed lines. The
region files are written from the lists below; see README.md for the
encodings and sources.
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
CRLF = "\r\n"


def mhz(value):
    """MHz to whole hertz, exactly (the plans are in 0.25 MHz steps)."""
    return int(round(value * 1000000))


def freq_key(channel):
    return "Chn_%03d" % channel


def band(first, last, first_video_mhz, step_mhz=6.0):
    """Channels first..last spaced step_mhz apart, starting at first_video_mhz."""
    return {ch: mhz(first_video_mhz + (ch - first) * step_mhz) for ch in range(first, last + 1)}


# Japan, System M/NTSC-J. Video carrier = lower channel edge + 1.25 MHz.
JAPAN_VHF = {
    1: mhz(91.25), 2: mhz(97.25), 3: mhz(103.25),            # 90-108 MHz
    4: mhz(171.25), 5: mhz(177.25), 6: mhz(183.25),          # 170-222 MHz
    7: mhz(189.25), 8: mhz(193.25),                          # 7 and 8 overlap by 2 MHz
    9: mhz(199.25), 10: mhz(205.25), 11: mhz(211.25), 12: mhz(217.25),
}
JAPAN_UHF = band(13, 62, 471.25)                             # 470-770 MHz
JAPAN_BROADCAST = {**JAPAN_VHF, **JAPAN_UHF}

# Cable: VHF 1-12 pass through unchanged; C13-C22 mid band (with the 2 MHz gap
# between C21 and C22), C23-C63 super-high band.
JAPAN_CABLE = {**JAPAN_VHF,
               **band(13, 21, 109.25), 22: mhz(165.25),
               **band(23, 63, 223.25)}

# United States, System M/NTSC, FCC broadcast plan and the EIA/CEA-542
# "Standard" cable plan.
US_BROADCAST = {**band(2, 4, 55.25), **band(5, 6, 77.25),
                **band(7, 13, 175.25), **band(14, 69, 471.25)}
US_CABLE = {1: mhz(73.25),
            **band(2, 4, 55.25), **band(5, 6, 77.25), **band(7, 13, 175.25),
            **band(14, 22, 121.25),    # mid band A-I
            **band(23, 36, 217.25),    # super band J-W
            **band(37, 94, 301.25),    # hyper band AA-...
            **band(95, 99, 91.25),     # A-5 .. A-1
            **band(100, 125, 649.25)}


def freq_file_text(table):
    channels = sorted(table)
    assert channels == list(range(channels[0], channels[-1] + 1)), "gaps in a plan"
    assert channels[0] >= 1 and channels[-1] <= 181
    lines = ["[ChnInfo]",
             "MinChn=%d" % channels[0],
             "MaxChn=%d" % channels[-1]]
    lines += ["%s=%d" % (freq_key(ch), table[ch]) for ch in channels]
    return CRLF.join(lines) + CRLF


# Region files: (state, [(city, [station as TV-guide iEPG files spell it])]).
# The Japanese guides write Latin letters and digits full-width ("ＮＨＫ総合",
# "ＴＢＳ"); fullwidth() converts the lists below, which are typed half-width.
def fullwidth(name):
    return "".join(chr(ord(c) + 0xFEE0) if c.isascii() and c.isalnum() else c for c in name)


def nhk():
    return ["NHK総合", "NHK教育"]


TOKYO_KEY = nhk() + ["日本テレビ", "TBS", "フジテレビ", "テレビ朝日", "テレビ東京"]
TOKYO_ALL = TOKYO_KEY + ["東京MXテレビ", "放送大学"]
OSAKA_KEY = ["毎日放送", "朝日放送", "関西テレビ", "読売テレビ"]
NAGOYA_KEY = ["東海テレビ", "CBC", "名古屋テレビ", "中京テレビ"]

JAPAN_REGIONS = [
    ("北海道", [("札幌市", nhk() + ["北海道放送", "札幌テレビ", "北海道テレビ",
                                        "北海道文化放送", "テレビ北海道"])]),
    ("青森県", [("青森市", nhk() + ["青森放送", "青森テレビ", "青森朝日放送"])]),
    ("岩手県", [("盛岡市", nhk() + ["IBC岩手放送", "テレビ岩手", "岩手めんこいテレビ",
                                        "岩手朝日テレビ"])]),
    ("宮城県", [("仙台市", nhk() + ["東北放送", "仙台放送", "ミヤギテレビ", "東日本放送"])]),
    ("秋田県", [("秋田市", nhk() + ["秋田放送", "秋田テレビ", "秋田朝日放送"])]),
    ("山形県", [("山形市", nhk() + ["山形放送", "山形テレビ", "テレビユー山形",
                                        "さくらんぼテレビ"])]),
    ("福島県", [("福島市", nhk() + ["福島テレビ", "福島中央テレビ", "福島放送",
                                        "テレビユー福島"])]),
    ("茨城県", [("水戸市", TOKYO_KEY), ("つくば市", TOKYO_KEY + ["放送大学"])]),
    ("栃木県", [("宇都宮市", TOKYO_KEY + ["とちぎテレビ"])]),
    ("群馬県", [("前橋市", TOKYO_KEY + ["群馬テレビ"]), ("高崎市", TOKYO_KEY + ["群馬テレビ"])]),
    ("埼玉県", [("さいたま市", TOKYO_ALL + ["テレビ埼玉"]),
               ("川越市", TOKYO_KEY + ["テレビ埼玉"]),
               ("所沢市", TOKYO_KEY + ["テレビ埼玉", "東京MXテレビ"])]),
    ("千葉県", [("千葉市", TOKYO_ALL + ["千葉テレビ"]),
               ("船橋市", TOKYO_ALL + ["千葉テレビ"]),
               ("柏市", TOKYO_KEY + ["千葉テレビ"])]),
    ("東京都", [("東京23区", TOKYO_ALL), ("八王子市", TOKYO_ALL),
               ("立川市", TOKYO_ALL), ("町田市", TOKYO_ALL + ["テレビ神奈川"])]),
    ("神奈川県", [("横浜市", TOKYO_ALL + ["テレビ神奈川"]),
                ("川崎市", TOKYO_ALL + ["テレビ神奈川"]),
                ("相模原市", TOKYO_KEY + ["テレビ神奈川"]),
                ("横須賀市", TOKYO_KEY + ["テレビ神奈川"])]),
    ("新潟県", [("新潟市", nhk() + ["新潟放送", "NST", "テレビ新潟", "新潟テレビ21"])]),
    ("富山県", [("富山市", nhk() + ["北日本放送", "富山テレビ", "チューリップテレビ"])]),
    ("石川県", [("金沢市", nhk() + ["北陸放送", "石川テレビ", "テレビ金沢",
                                        "北陸朝日放送"])]),
    ("福井県", [("福井市", nhk() + ["福井放送", "福井テレビ"])]),
    ("山梨県", [("甲府市", nhk() + ["山梨放送", "テレビ山梨"])]),
    ("長野県", [("長野市", nhk() + ["信越放送", "長野放送", "テレビ信州", "長野朝日放送"])]),
    ("岐阜県", [("岐阜市", nhk() + NAGOYA_KEY + ["岐阜放送"])]),
    ("静岡県", [("静岡市", nhk() + ["静岡放送", "テレビ静岡", "静岡朝日テレビ",
                                        "静岡第一テレビ"])]),
    ("愛知県", [("名古屋市", nhk() + NAGOYA_KEY + ["テレビ愛知"])]),
    ("三重県", [("津市", nhk() + NAGOYA_KEY + ["三重テレビ"])]),
    ("滋賀県", [("大津市", nhk() + OSAKA_KEY + ["びわ湖放送"])]),
    ("京都府", [("京都市", nhk() + OSAKA_KEY + ["KBS京都"]),
               ("宇治市", nhk() + OSAKA_KEY + ["KBS京都", "テレビ大阪"])]),
    ("大阪府", [("大阪市", nhk() + OSAKA_KEY + ["テレビ大阪"]),
               ("堺市", nhk() + OSAKA_KEY + ["テレビ大阪"]),
               ("東大阪市", nhk() + OSAKA_KEY + ["テレビ大阪"]),
               ("豊中市", nhk() + OSAKA_KEY + ["テレビ大阪", "サンテレビ"])]),
    ("兵庫県", [("神戸市", nhk() + OSAKA_KEY + ["サンテレビ", "テレビ大阪"]),
               ("姫路市", nhk() + OSAKA_KEY + ["サンテレビ"]),
               ("西宮市", nhk() + OSAKA_KEY + ["サンテレビ", "テレビ大阪"]),
               ("尼崎市", nhk() + OSAKA_KEY + ["サンテレビ", "テレビ大阪"])]),
    ("奈良県", [("奈良市", nhk() + OSAKA_KEY + ["奈良テレビ", "テレビ大阪"])]),
    ("和歌山県", [("和歌山市", nhk() + OSAKA_KEY + ["テレビ和歌山"])]),
    ("鳥取県", [("鳥取市", nhk() + ["日本海テレビ", "BSS山陰放送", "山陰中央テレビ"])]),
    ("島根県", [("松江市", nhk() + ["日本海テレビ", "BSS山陰放送", "山陰中央テレビ"])]),
    ("岡山県", [("岡山市", nhk() + ["山陽放送", "岡山放送", "テレビせとうち",
                                        "西日本放送", "瀬戸内海放送"])]),
    ("広島県", [("広島市", nhk() + ["中国放送", "広島テレビ", "広島ホームテレビ",
                                        "テレビ新広島"])]),
    ("山口県", [("山口市", nhk() + ["山口放送", "テレビ山口", "山口朝日放送"])]),
    ("徳島県", [("徳島市", nhk() + ["四国放送"])]),
    ("香川県", [("高松市", nhk() + ["西日本放送", "瀬戸内海放送", "山陽放送",
                                        "岡山放送", "テレビせとうち"])]),
    ("愛媛県", [("松山市", nhk() + ["南海放送", "テレビ愛媛", "あいテレビ",
                                        "愛媛朝日テレビ"])]),
    ("高知県", [("高知市", nhk() + ["高知放送", "テレビ高知", "高知さんさんテレビ"])]),
    ("福岡県", [("福岡市", nhk() + ["RKB毎日放送", "九州朝日放送", "テレビ西日本",
                                        "FBS福岡放送", "TVQ九州放送"]),
               ("北九州市", nhk() + ["RKB毎日放送", "九州朝日放送", "テレビ西日本",
                                          "FBS福岡放送", "TVQ九州放送"])]),
    ("佐賀県", [("佐賀市", nhk() + ["サガテレビ"])]),
    ("長崎県", [("長崎市", nhk() + ["長崎放送", "テレビ長崎", "長崎文化放送",
                                        "長崎国際テレビ"])]),
    ("熊本県", [("熊本市", nhk() + ["熊本放送", "テレビ熊本", "熊本県民テレビ",
                                        "熊本朝日放送"])]),
    ("大分県", [("大分市", nhk() + ["大分放送", "テレビ大分", "大分朝日放送"])]),
    ("宮崎県", [("宮崎市", nhk() + ["宮崎放送", "テレビ宮崎"])]),
    ("鹿児島県", [("鹿児島市", nhk() + ["南日本放送", "鹿児島テレビ", "鹿児島放送",
                                            "鹿児島読売テレビ"])]),
    ("沖縄県", [("那覇市", nhk() + ["琉球放送", "沖縄テレビ", "琉球朝日放送"])]),
]

US_REGIONS = [
    ("New York", [("New York City", ["WCBS-TV", "WNBC", "WNYW", "WABC-TV", "WWOR-TV",
                                     "WPIX", "WNET"])]),
    ("California", [("Los Angeles", ["KCBS-TV", "KNBC", "KTLA", "KABC-TV", "KCAL-TV",
                                      "KTTV", "KCOP-TV", "KCET"]),
                    ("San Francisco", ["KPIX-TV", "KGO-TV", "KRON-TV", "KTVU", "KQED"])]),
    ("Illinois", [("Chicago", ["WBBM-TV", "WMAQ-TV", "WLS-TV", "WGN-TV", "WTTW", "WFLD"])]),
]


def region_file_text(regions, station_name=lambda name: name):
    lines = ["[Country Channel Info]", "NumOfState=%d" % len(regions), ""]
    for s, (state, cities) in enumerate(regions, 1):
        lines += ["[State%d]" % s, "StateName=%s" % state, "NumOfCity=%d" % len(cities), ""]
        for c, (city, stations) in enumerate(cities, 1):
            stations = [station_name(name) for name in stations]
            assert len(stations) == len(set(stations)), (state, city)
            section = "State%dCity%d" % (s, c)
            lines += ["[%s]" % section, "CityName=%s" % city, "NumOfChn=%d" % len(stations), ""]
            lines += ["[%sChnInfo]" % section]
            lines += ["ChnTVPIName%d=%s" % (n, name) for n, name in enumerate(stations, 1)]
            lines += [""]
    return CRLF.join(lines)


def write_ascii(name, text):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(text.encode("ascii"))


def write_utf16(name, text):
    # UTF-16LE with a byte-order mark: the W profile functions read it as
    # Unicode whatever the system code page is.
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def main():
    assert len(JAPAN_REGIONS) == 47
    write_ascii("TVFreqBroad_81.ini", freq_file_text(JAPAN_BROADCAST))
    write_ascii("TVFreqCable_81.ini", freq_file_text(JAPAN_CABLE))
    write_utf16("TVChn_Cntry_81.ini", region_file_text(JAPAN_REGIONS, fullwidth))
    write_ascii("TVFreqBroad_1.ini", freq_file_text(US_BROADCAST))
    write_ascii("TVFreqCable_1.ini", freq_file_text(US_CABLE))
    write_utf16("TVChn_Cntry_1.ini", region_file_text(US_REGIONS))
    write_ascii("registersetting.ini", CRLF.join(["[Brontel]", "CurrentSource=0"]) + CRLF)


if __name__ == "__main__":
    main()
