#pragma once
// Loading the process-wide settings: the vendor information beside the
// program and the settings row of the database.

// Reads the vendor name, home page and brand from "IIS.INI" in the program
// folder; missing keys (or a missing file) give the built-in ones.
void ReadyPara();

// Loads the settings row into the process-wide values, in column order; the
// first column that cannot be read ends the reading and keeps what was read.
// The initial password "729" counts as none. Returns false, having loaded
// nothing, when the settings cannot be opened; the amount format is to be
// applied only after a true result.
bool LoadRegPara();
