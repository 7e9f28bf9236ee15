// The numbers of the add-in's resources: read by the resource script (qormail.rc), by the code that
// loads the resources and by make_dialog_templates.py, so that each number is written once. Only
// #define lines, which the resource compiler reads as well as the C++ compiler.
#pragma once

// Dialog templates, and the one control of each that the add-in talks to.
#define QOR_DIALOG_ABOUT_BOX 129
#define QOR_DIALOG_SCAN_PROGRESS 131
#define QOR_DIALOG_SUBJECT_SEARCH 132
#define QOR_DIALOG_ID_SELECT 137
#define QOR_CONTROL_PROGRESS_BAR 1001
#define QOR_CONTROL_SUBJECT_COMBO 1001
#define QOR_CONTROL_ID_LIST 1001

// The About box's icon.
#define QOR_ICON_ABOUT 130

// The tree's images, 17 x 11 pixels in 16 colours, added to the image list in this order.
#define QOR_BITMAP_SENT 231
#define QOR_BITMAP_RECEIVED 232
#define QOR_BITMAP_RECEIVED_OPEN 234
#define QOR_BITMAP_CLOSED 235
#define QOR_BITMAP_SENT_OPEN 236
