#pragma once

// GD writes its complaints about bad input to stderr; the program reports failures its own
// way. Silences GD for the whole process; cheap to call before every GD decode.
void silenceGdErrors();
