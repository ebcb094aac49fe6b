#pragma once
// Copy, cut, paste and delete of what a grid's selection covers, through the clipboard. A
// copy puts five formats at once (text, Unicode text, "Csv", "Rich Text Format" and
// "GRIDBIF") so every kind of program finds one it reads; a paste reads "GRIDBIF", else
// Unicode text, else text. The grid reaches these through its output hooks, which this
// module fills when the program starts.
#include "dbgrid/DBGridX.h"
#include "grid/MemoryStreamX.h"

extern const Word CsvClipboardFormat;
extern const Word RtfClipboardFormat;
extern const Word GridbifClipboardFormat;

void CopyGridToClipboard(TCustomDBGridX* Grid, bool WholeGrid);
void CutGridToClipboard(TCustomDBGridX* Grid, bool WholeGrid);
void PasteGridFromClipboard(TCustomDBGridX* Grid, bool WholeGrid);
// Deletes selected records, or clears the cells of a rectangle or of selected columns;
// asks first under dgConfirmDelete (not for selected columns).
void DeleteGridSelection(TCustomDBGridX* Grid, bool WholeGrid);

// The stream's bytes become the clipboard's content in Format.
void PutStreamOnClipboard(Word Format, TMemoryStream* Stream);
// Writes the clipboard's content in Format to the stream; nothing when it is absent.
void GetClipboardToStream(Word Format, TStream* Stream);

// Fills the grid's output hooks with the commands above; the module does it at start.
void InstallGridClipboardHooks();
