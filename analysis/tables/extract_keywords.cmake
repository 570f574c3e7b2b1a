# Writes the keyword box's list from the window's layout file as a C++
# source: -DLAYOUT=tform1.ui -DOUTPUT=builtin_keywords.cpp
file(READ "${LAYOUT}" layout)
string(REGEX MATCHALL "<item>[ \t\r\n]*<property name=\"text\">[ \t\r\n]*<string[^>]*>[^<]*</string>"
       items "${layout}")
set(lines "")
foreach(item IN LISTS items)
    string(REGEX REPLACE ".*<string[^>]*>([^<]*)</string>" "\\1" keyword "${item}")
    if(NOT keyword MATCHES "^[A-Z0-9]+$")
        message(FATAL_ERROR "keyword list: unexpected item '${keyword}'")
    endif()
    string(APPEND lines "        \"${keyword}\",\n")
endforeach()
list(LENGTH items count)
if(count EQUAL 0)
    message(FATAL_ERROR "keyword list: no items in ${LAYOUT}")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from the window's layout file. Do not edit.
#include \"analysis/key_search.h\"

namespace abc::search {

const std::vector<std::string> &BuiltInKeywords()
{
    static const std::vector<std::string> keywords = {
${lines}    };
    return keywords;
}

} // namespace abc::search
")
# Unchanged output keeps its time stamp, so nothing rebuilds for nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
