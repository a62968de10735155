#pragma once
// Numeric identifiers of menu commands and dialog controls. The resources themselves (the
// menu "IDR_MENU", the dialogs "OPTDLG" and "YOUSIDLG", the icon "ID_MAINICON") are named by
// strings, so those names are deliberately not defined here.

// File menu of the frame.
#define IDM_FILE_NEW 40003
#define IDM_FILE_LOAD_IMAGE 40021
#define IDM_SAVE_BMP 40028
#define IDM_SAVE_JPEG 40029
#define IDM_SAVE_PNG 40030
#define IDM_SAVE_GIF 40031
#define IDM_SAVE_TIFF 40032
#define IDM_FILE_EXIT 40004
#define IDM_FILE_SAVE 40033

// Edit menu of the frame.
#define IDM_EDIT_UNDO 40050
#define IDM_EDIT_REDO 40051
#define IDM_EDIT_COPY 40052
#define IDM_EDIT_PASTE 40053

// MDI client.
#define IDC_MDI_CLIENT 1
#define MDI_FIRST_CHILD_ID 256

// Palette "OPTDLG".
#define IDC_TOOL_RECTANGLE 40016
#define IDC_TOOL_ELLIPSE 1002
#define IDC_TOOL_LINE 1003
#define IDC_TOOL_PEN 40014
#define IDC_QUIT 1005
#define IDC_TOOL_FILL 1008
#define IDC_UNDO 1009
#define IDC_PEN_WIDTH_TRACKBAR 1010
#define IDC_TOOL_EYEDROPPER 1011
#define IDC_RESET 1012
#define IDC_PEN_WIDTH_BOX 1013
#define IDC_TOLERANCE_TRACKBAR 1014
#define IDC_TOLERANCE_BOX 1015
#define IDC_TOOL_SPRAY 1016
#define IDC_SPRAY_TRACKBAR 1017
#define IDC_SPRAY_BOX 1018
#define IDC_REDO 1019
#define IDC_PREVIEW_CHECK 1023

// New-paper dialog "YOUSIDLG".
#define IDC_PAPER_WIDTH 1015
#define IDC_PAPER_HEIGHT 1016
#define IDC_PAPER_OK 1018
#define IDC_PAPER_CANCEL 1019

// Canvas window inside the document window.
#define IDC_CANVAS_WINDOW 1
#define SPRAY_TIMER_ID 1
