/* The module's resource names and the dialogs' control ids, for the resource script, the dialogs
   and the tests that drive them. Controls keep their design names. Plain C: windres reads it. */
#ifndef QZR_UI_WIN32_RESOURCE_IDS_H
#define QZR_UI_WIN32_RESOURCE_IDS_H

/* Resources: icons and flag glyphs by name; the manifest that asks for common controls 6. */
#define QZR_ICON_MAIN "MAINICON"
#define QZR_ICON_REGISTRY "SOMEICON"
#define QZR_ICON_FILE "XICON"
#define QZR_BITMAP_FLAG_RU "FLAG_RU"
#define QZR_BITMAP_FLAG_US "FLAG_US"
#define QZR_MANIFEST_ID 2

/* Controls of both dialogs. 1 and 2 are the dialog manager's IDOK and IDCANCEL: not used. */
#define IDC_PAGECONTROL1 1001
#define IDC_TABSHEET1 1002
#define IDC_TABSHEET2 1003
#define IDC_LABEL5 1010
#define IDC_SPEEDBUTTON3 1011
#define IDC_SPEEDBUTTON2 1012
#define IDC_MEMO1 1013
#define IDC_RADIO 1014
#define IDC_RADIO0 1015
#define IDC_RADIO1 1016
#define IDC_VALUE 1017
#define IDC_LABEL60 1018
#define IDC_DEFVAL 1019
#define IDC_SAVEPLUG 1020
#define IDC_BUTTON1 1021
#define IDC_LABEL1 1030
#define IDC_LABEL2 1031
#define IDC_LABEL3 1032
#define IDC_LABEL4 1033
#define IDC_GROUPBOX1 1034
#define IDC_BUTTON2 1035

/* Labels: messages they take, and the notifications (WM_COMMAND codes) they send their form.
   A label and a speed button also take BM_CLICK, as a button does. */
#define QZR_LABEL_SETCOLOR 0x0465 /* WM_USER + 101; wParam: COLORREF */
#define QZR_LABEL_GETCOLOR 0x0466 /* WM_USER + 102; returns the COLORREF */
#define QZR_LABEL_CLICKED 0       /* STN_CLICKED */
#define QZR_LABEL_ENTER 0x0100    /* the pointer came over the label */
#define QZR_LABEL_LEAVE 0x0101    /* the pointer left it */

#endif
