/* Numbers of the dialogs, their controls and the pictures, shared by the
   resource script and the program. Plain defines: the resource compiler
   reads this file too. */
#pragma once

#define IDI_BRISKO 128

#define IDD_MAIN 141
#define IDD_MESSAGE 142

/* Main dialog. */
#define IDC_OK_BUTTON 1070
#define IDC_SCAN 1052
#define IDC_DOWNLOAD 1053
#define IDC_CLOSE_BOX 1054
#define IDC_STATUS_FRAME 1064
#define IDC_STATUS_TEXT 1065
#define IDC_SEARCHING_FOR 1076
#define IDC_SUBTITLE 1068
#define IDC_PRODUCT_LINE 1075
#define IDC_NOTICE_LINE 1072
#define IDC_TITLE_LINE 1074
#define IDC_DLINK 1077
#define IDC_ULINK 1080
#define IDC_LOGO 1085
#define IDC_REPORT_FRAME 1034
#define IDC_REPORT_LIST 1055

/* Message dialog. */
#define IDC_MESSAGE_ICON 1085
#define IDC_MESSAGE_TEXT 1086
#define IDC_SINGLE_OK 3

/* Icon pictures of the message dialog and the skin. */
#define IDB_ICON_INFORMATION 152
#define IDB_ICON_QUESTION 153
#define IDB_ICON_EXCLAMATION 154
#define IDB_ICON_STOP 155
#define IDB_SKIN 156
