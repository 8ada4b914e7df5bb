// Checks, inside a running host, that the stored settings format and the deep
// copy of library-part parameters give back what they were given. Results go
// to the host's report window; nothing in the add-on's commands runs them.
#pragma once

// Runs the three checks below and reports each result (1 passed, 0 failed).
void RunAllTests();

// The palette's default state written and read back.
bool TestWriteReadEmptyPaletteSettings();
// The library-part parameters of the project's first object written and read back.
bool TestWriteReadAddParams();
// A deep copy of the same parameters.
bool TestDeepCopyAddParams();
