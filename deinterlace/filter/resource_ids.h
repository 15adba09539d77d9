#pragma once
// Resource and control ids of the deinterlace property page. The mode and
// filter radio button ids are also the setting values.

#define IDD_DEINTERLACE_PAGE 101
#define IDS_PAGE_TITLE 10004

#define IDC_MODE_FIRST 1110
#define IDC_MODE_BYPASS 1110
#define IDC_MODE_TWO_FRAME_WEAVE 1111
#define IDC_MODE_WEAVE 1112
#define IDC_MODE_ADAPTIVE 1113
#define IDC_MODE_ONE_FRAME_WEAVE 1114
#define IDC_MODE_BOB 1115
#define IDC_MODE_LAST 1115

#define IDC_FILTER_FIRST 1120
#define IDC_FILTER_NONE 1120
#define IDC_FILTER_SHARP 1121
#define IDC_FILTER_BLUR 1122
#define IDC_FILTER_LAST 1122

#define IDC_DELTA1 1130
#define IDC_DELTA2 1131
#define IDC_DELTA3 1132
#define IDC_FILE_NAME 1133
#define IDC_STATUS 1134
#define IDC_CAPTURE 1015
#define IDC_UPDATE 1016
