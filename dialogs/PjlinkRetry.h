#pragma once
// A job over PJLink run again on the projectors the user has just given a PJLink password, its
// results put back in their places. A password refused again is forgotten, so that the next job
// asks for it rather than sending it once more.

#include <cstddef>
#include <string>
#include <vector>

#include "dialogs/PjlinkPasswords.h"
#include "pjlink/Client.h"

namespace lanterna::dialogs {

// `errorOf(result)` tells how a result's link ended; `run(results, names)` runs the job on a part
// of them.
template <typename Result, typename ErrorOf, typename Run>
void RunAgainOn(std::vector<Result>& results, const std::vector<std::string>& names,
                const std::vector<std::size_t>& given, CPjlinkPasswords& passwords,
                const ErrorOf& errorOf, const Run& run) {
    if (given.empty()) {
        return;
    }
    std::vector<Result> again;
    std::vector<std::string> againNames;
    for (const std::size_t i : given) {
        again.push_back(results[i]);
        againNames.push_back(names[i]);
    }
    run(again, againNames);
    for (std::size_t j = 0; j < given.size(); ++j) {
        if (errorOf(again[j]) == pjlink::LinkError::kPasswordRefused) {
            passwords.Forget(again[j].address);
        }
        results[given[j]] = again[j];
    }
}

}  // namespace lanterna::dialogs
