#include "engine/grouping.h"

namespace abc {

std::string GroupInFives(std::string_view text)
{
    std::string grouped;
    grouped.reserve(text.size() + text.size() / 5);
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (index > 0 && index % 5 == 0)
            grouped += ' ';
        grouped += text[index];
    }
    return grouped;
}

} // namespace abc
