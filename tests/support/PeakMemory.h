#pragma once

// The most memory the process has held at once so far, in kilobytes: what it grows by over a
// piece of work is what that work cost, whatever the program held before.
long PeakMemoryKilobytes();
