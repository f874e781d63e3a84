#include "skin/core/sDefaults.h"

const AnsiString acThirdCaptions[acThirdPartyTypeCount] = {
    "Edit",    "Button",      "BitBtn",      "CheckBox",   "ComboBox",   "Grid",         "GroupBox",  "ListView",
    "Panel",   "TreeView",    "wwEdit",      "GridEh",     "VirtualTree", "PageControl", "TabControl", "ToolBar",
    "StatusBar", "SpeedButton", "ScrollControl", "UpDownBtn", "ScrollBar", "StaticText", "NativePaint"};

const AnsiString acThirdNames[acThirdPartyTypeCount] = {" ", "TButton", " ", " ", " ", " ", " ", " ",
                                                        " ", " ",       " ", " ", " ", " ", " ", " ",
                                                        " ", " ",       " ", " ", " ", " ", " "};

bool ACPngFirst = false;
double DefDisabledBlend = 0.4;
Integer DefDisabledSaturation = -90;
