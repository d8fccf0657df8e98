#pragma once
// String-table ids of the words about what projectors reply (block 1200-1299 of
// resources/strings.tsv).

namespace lanterna {

enum ReplyStringId : int {
    kStringValueCut = 1200,
    kStringPasswordChangeDeclined = 1201,  // {1} the status byte, as 0x4F
};

}  // namespace lanterna
