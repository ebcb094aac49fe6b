#pragma once
// Pictures held in a data set's binary fields, as picture columns show and print them.
#include "platform/db/DB.h"
#include "platform/ui/Graphics.h"

// Loads the picture Field holds into Picture. Picture stays empty for a field that is not a
// binary large object, for a null or empty value and for bytes that are no picture: a cell
// shows or prints nothing rather than failing.
void LoadFieldPicture(TField* Field, TPicture& Picture);
// Where a picture Width x Height goes in Cell: at its own size when it fits, else shrunk to
// the cell keeping its proportions; centred either way.
TRect FittedPictureRect(Integer Width, Integer Height, const TRect& Cell);
