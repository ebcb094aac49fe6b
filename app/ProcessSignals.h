#pragma once
// Signals the program takes care of itself instead of letting them end it.

// A write past the process's file size limit then fails with its reason
// (EFBIG) and is reported like any failed write, instead of killing the
// program half-way and leaving work folders and part-written files behind.
void IgnoreFileSizeSignal();
