// Ring: cli. See inverted_output.h.
#include "cli/inverted_output.h"

#include "core/poly_text.h"
#include "core/shift_register.h"

namespace tapwell::cli {

bool inverted_gold_list(std::string_view list, std::string& gold) {
    ListReader reader = list_reader(list);
    const std::string_view poly = read_list_line(reader);
    const std::string_view initial = read_list_line(reader);
    const int m = bit_length(parse_polynomial(poly));
    if (m < 3) return false;
    const std::size_t width = static_cast<std::size_t>(m);
    std::string rotation(width + 1, '0');  // x^m + 1
    rotation.front() = '1';
    rotation.back() = '1';
    gold.assign(poly).append("\r\n").append(initial).append("\r\n");
    gold.append(rotation).append("\r\n").append(width, '1');
    return true;
}

}  // namespace tapwell::cli
