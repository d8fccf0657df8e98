# Turns the string table file into a C++ source that defines the table of texts.
#   cmake -DINPUT=<strings.tsv> -DOUTPUT=<StringTableData.cpp> -P GenerateStringTable.cmake
# Each line of the input is "<id><TAB><Korean text><TAB><English text>", ids strictly increasing,
# both texts non-empty; in a text "\n" is a line feed, "\t" a tab and "\\" a backslash. Empty
# lines and lines starting with '#' are skipped.
# Every byte outside printable ASCII is written as an escape, so the texts reach the program
# exactly as they are in the file, whatever the compiler takes the source encoding to be.
cmake_minimum_required(VERSION 3.25)

if(NOT INPUT OR NOT OUTPUT)
    message(FATAL_ERROR "GenerateStringTable.cmake needs -DINPUT=... and -DOUTPUT=...")
endif()

file(READ "${INPUT}" hex HEX)
string(APPEND hex "0a")  # so that a last line without its line feed still ends
string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${hex}")

macro(fail reason)
    message(FATAL_ERROR "${INPUT}:${line_number}: ${reason}")
endmacro()

# Appends one byte of a text to `literal`. After a hex escape a following hex digit would be
# taken into the escape, so the literal is split there.
macro(emit_byte hex_byte)
    math(EXPR value "0x${hex_byte}")
    if(value GREATER_EQUAL 32 AND value LESS_EQUAL 126 AND NOT value EQUAL 34
       AND NOT value EQUAL 63 AND NOT value EQUAL 92)
        string(ASCII ${value} character)
        if(last_was_escape AND character MATCHES "^[0-9A-Fa-f]$")
            string(APPEND literal "\" \"")
        endif()
        string(APPEND literal "${character}")
        set(last_was_escape FALSE)
    else()
        string(APPEND literal "\\x${hex_byte}")
        set(last_was_escape TRUE)
    endif()
endmacro()

set(line_number 1)
set(state line_start)  # line_start | comment | id | text | escape
set(column 0)          # 0 the Korean text, 1 the English text
set(previous_id -1)
set(entries "")
set(entry_count 0)

foreach(byte IN LISTS bytes)
    if(byte STREQUAL "0d")
        fail("carriage return; the file must use line feeds only")
    endif()
    if(byte STREQUAL "0a")
        if(state STREQUAL "id")
            fail("no tab after the id")
        elseif(state STREQUAL "escape")
            fail("backslash at the end of the line")
        elseif(state STREQUAL "text")
            if(column EQUAL 0)
                fail("no English text: each line needs a tab and the English text after the Korean")
            endif()
            if(literal STREQUAL "")
                fail("empty English text")
            endif()
            string(APPEND entries "    {${id}, \"${korean}\"sv, \"${literal}\"sv},\n")
            math(EXPR entry_count "${entry_count} + 1")
        endif()
        set(state line_start)
        math(EXPR line_number "${line_number} + 1")
        continue()
    endif()
    if(state STREQUAL "line_start")
        if(byte STREQUAL "23")
            set(state comment)
            continue()
        endif()
        set(state id)
        set(id_digits "")
    endif()
    if(state STREQUAL "comment")
        continue()
    elseif(state STREQUAL "id")
        if(byte STREQUAL "09")
            if(id_digits STREQUAL "")
                fail("missing id")
            endif()
            string(LENGTH "${id_digits}" id_length)
            if(id_length GREATER 9)
                fail("id too long")
            endif()
            math(EXPR id "${id_digits}")
            if(NOT id GREATER previous_id)
                fail("id ${id} does not follow ${previous_id}; ids must increase")
            endif()
            set(previous_id ${id})
            set(literal "")
            set(last_was_escape FALSE)
            set(column 0)
            set(state text)
        elseif(byte MATCHES "^3[0-9]$")
            string(SUBSTRING "${byte}" 1 1 digit)
            string(APPEND id_digits "${digit}")
        else()
            fail("the id must be decimal digits followed by a tab")
        endif()
    elseif(state STREQUAL "text")
        if(byte STREQUAL "5c")
            set(state escape)
        elseif(byte STREQUAL "09")
            if(NOT column EQUAL 0)
                fail("a third column; a tab inside a text is written \\t")
            endif()
            if(literal STREQUAL "")
                fail("empty Korean text")
            endif()
            set(korean "${literal}")
            set(literal "")
            set(last_was_escape FALSE)
            set(column 1)
        else()
            emit_byte(${byte})
        endif()
    elseif(state STREQUAL "escape")
        if(byte STREQUAL "6e")
            emit_byte(0a)
        elseif(byte STREQUAL "74")
            emit_byte(09)
        elseif(byte STREQUAL "5c")
            emit_byte(5c)
        else()
            fail("unknown escape: a backslash may only be followed by n, t or another backslash")
        endif()
        set(state text)
    endif()
endforeach()

if(entry_count EQUAL 0)
    message(FATAL_ERROR "${INPUT}: no entries")
endif()

file(WRITE "${OUTPUT}" "// Generated from strings.tsv by GenerateStringTable.cmake; edit strings.tsv instead.
#include \"resources/StringTable.h\"

namespace lanterna {

using namespace std::string_view_literals;

namespace {

// Sorted by id; the generator refuses a file whose ids do not increase.
constexpr StringEntry kEntries[] = {
${entries}};

}  // namespace

std::span<const StringEntry> StringTableEntries() { return kEntries; }

}  // namespace lanterna
")
