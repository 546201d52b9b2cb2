#pragma once

// What korvane-cli's exit status tells a script.
enum class ExitCode {
    Success = 0,
    // search and show found no record, check found damage.
    NothingFound = 1,
    // Bad usage or input, a value the databases cannot store, or the window
    // is running: nothing was changed.
    Refused = 2,
    // A file could not be read or written.
    Failed = 3,
};
