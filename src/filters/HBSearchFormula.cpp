#include "filters/HBSearchFormula.h"

namespace {

void join(std::string& group, const char* separator, const std::string& word) {
    if (!group.empty()) {
        group += separator;
    }
    group += word;
}

}  // namespace

std::string HBSearchFormula::formulaWithTerms(const std::vector<Term>& terms) {
    std::string orGroup;
    std::string andGroup;
    for (const Term& term : terms) {
        if (!term.present) {
            continue;
        }
        if (term.matchType == 0) {
            join(orGroup, " OR ", term.word);
        } else if (term.matchType == 1) {
            join(andGroup, " AND ", term.word);
        }
    }
    if (!orGroup.empty() && !andGroup.empty()) {
        return "(" + orGroup + ") AND " + andGroup;
    }
    return orGroup.empty() ? andGroup : orGroup;
}
