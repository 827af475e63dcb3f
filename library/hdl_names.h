// Ring: library. Whether a text is a name a generated module, entity or C
// function may have in its language: an identifier of it, none of its
// reserved words, none of the names the generated text uses inside.
#pragma once

#include <string>
#include <string_view>

#include "tapwell/hdl.hpp"

namespace tapwell {

// Empty when `name` is acceptable; otherwise the reason, in words.
std::string hdl_name_refusal(std::string_view name, HdlLanguage language);

}  // namespace tapwell
