// Resource and control ids shared by the resource script and the C++ code.
// Plain #defines only: windres reads this file too.
#ifndef TORVAN_APP_RESOURCEIDS_H
#define TORVAN_APP_RESOURCEIDS_H

#define IDD_SETTINGS 101
#define IDI_APP 102

#define IDC_WINDOWED 1002
#define IDC_FULLSCREEN 1003
#define IDC_BGM_TESSAL 1004
#define IDC_BGM_16BIT 1005
#define IDC_BGM_STEREO 1006
#define IDC_SAMPLE_RATE 1007
#define IDC_LANGUAGE_LABEL 1008
#define IDC_SAMPLE_RATE_LABEL 1009
#define IDC_POS_X_LABEL 1010
#define IDC_POS_Y_LABEL 1011
#define IDC_POS_X 1012
#define IDC_POS_Y 1013
#define IDC_LANGUAGE 1014
#define IDC_SAVE 1016
#define IDC_LOAD 1017
#define IDC_ABOUT 1019
#define IDC_WIDTH_LABEL 1020
#define IDC_HEIGHT_LABEL 1021
#define IDC_WIDTH 1022
#define IDC_HEIGHT 1023

#endif
