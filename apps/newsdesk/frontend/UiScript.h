// UI scripts: what the user does in the dialogs of a command, as a JSON file,
// played by the window system's scripted driver. The format:
//
//   {"dialogs": [{"template": 11902, "steps": [{"type": 32115, "text": "News"},
//                                              {"click": 1}]}],
//    "messageBoxes": [{"string": 11903, "answer": "ok"}],
//    "choosers": [{"path": "/home/ann/site/news.rss"}, {"cancel": true}]}
//
// Steps: type (edit text, or a date "2024/05/01" / time "12:30:00" in a
// picker), click, check (+ "value": true/false), select (+ "rows": [..], or
// the "text" of a row of a list box, list view or combo box), date / time
// (+ "value"), tab (index of a property sheet page), key ("enter", "escape",
// "tab", "shift+tab", "space", "left", "right", "up", "down", "f1"), mouse
// ([x, y] in the dialog's client area), hover (a control id: the cursor to
// its centre), mouseDown / mouseUp (a control id: the left button pressed or
// let go at its centre, as two steps), resize ([width, height] of the
// dialog in pixels, for dialogs with a sizing border), wait (milliseconds of
// virtual time, up to an hour). The virtual clock starts at 0 when the
// program starts and moves only by wait steps. Message boxes match by
// "string" id and/or a "text" they contain and answer "ok", "cancel", "yes",
// "no", "abort", "retry" or "ignore", and check the box's "icon" ("none",
// "stop", "question", "warning", "information") and "buttons" ("ok",
// "ok-cancel", "yes-no", "yes-no-cancel", "retry-cancel",
// "abort-retry-ignore") when given. Choosers answer a native "path" (or
// "cancel") and check the chooser's "kind" and the host's "fileKind".
//
// An expect step checks what a person sees at that moment:
//   {"expect": 32149, "text": "...", "enabled": true, "visible": true,
//    "checked": false, "radio": 32101, "rows": ["a", "b"], "selected": [1]}
// "radio" is the id of the checked button of the control's radio group (0:
// none); "rows" are a list's texts (a list view's columns joined by tabs, as
// many as given); "selected" the selected row numbers. A difference ends the
// run with one line naming the control, the expected and the found value.
#pragma once

#include "win32/ScriptedDriver.h"

#include <string>

namespace newsdesk::app {

// Adds the script's expectations to the driver. false with a one-line reason
// when the text is not a script of this form (nothing is added then).
bool parseUiScript(const std::string& json, nd::win32::ScriptedDriver& driver, std::string& error);
// The same from a file: a regular file of at most 4 MB; anything else is an
// error.
bool loadUiScript(const std::string& path, nd::win32::ScriptedDriver& driver, std::string& error);

}  // namespace newsdesk::app
