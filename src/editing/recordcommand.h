#pragma once

// The commands of the record toolbar, numbered as its buttons.
enum class RecordCommand {
    Add = 1,
    Remove = 2,
    Replace = 3,
    ClearFields = 4,
};
