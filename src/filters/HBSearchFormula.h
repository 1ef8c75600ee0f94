#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The "Search Formula" text: how a filter's fields combine. Fields with match type 0 form
// an OR group, fields with match type 1 an AND group; absent fields and other match types
// take no part. Both groups give "(OR group) AND AND group".
class HBSearchFormula {
  public:
    struct Term {
        std::string word;
        bool present = false;
        std::int64_t matchType = 0;
    };

    static std::string formulaWithTerms(const std::vector<Term>& terms);
};
