// Identifiers of the program's resources, shared by the windows that load them and the table
// that carries them.
#pragma once

// String table
#define IDS_COMMENTS 1
#define IDS_THUMBNAILS 2
#define IDS_APP_TITLE 3
#define IDS_MAKER_WEB_ADDRESS 4
#define IDS_TEMP_PATH_FAILED 5
#define IDS_BOLD_FONT_FACE 6
#define IDS_MAKER_NAME 7
#define IDS_PREVIOUS 8
#define IDS_NEXT 9
#define IDS_EXIT 10
#define IDS_ABOUT 11
#define IDS_IMAGE 12
#define IDS_DETAILS 13
#define IDS_THUMBNAILS_TAB 14
#define IDS_CATEGORY_FIRST 15
#define IDS_CATEGORY_LAST 39
#define IDS_SCREEN_TOO_SMALL 40
#define IDS_NEXT_THUMBNAIL 41
#define IDS_NEXT_THUMBNAILS 42
#define IDS_PREVIOUS_THUMBNAILS 43
#define IDS_LAST IDS_PREVIOUS_THUMBNAILS

// Dialog templates
#define IDD_COMMENTS_PAGE 129
#define IDD_VIEWER 130
#define IDD_THUMBNAILS_PAGE 143
#define IDD_THUMBNAIL_CELL 158
#define IDD_ABOUT_BOX 200

// Statics of the Comments page template
#define IDC_CREATED_BY_LABEL 1034
#define IDC_DATE_CREATED_LABEL 1035
#define IDC_DATE_CREATED 1036
#define IDC_CREATED_BY 1037

// Bitmaps
#define IDB_MAKER_LOGO 205
#define IDB_ABOUT_ART 211
#define IDB_PARTNER_LOGO 214

// Cursor and icon
#define IDC_HAND_CURSOR 162
#define IDI_APP_ICON 185

// The partner layout document, of the named type below
#define IDR_PARTNER_LAYOUT 213
#define RT_XML_NAME "RT_XML"

// Version block
#define IDR_VERSION 1
