# Run at build time (cmake -P): writes OUTPUT, a C++ header holding page 1 as dump-forms
# (DUMP_FORMS) describes it, so that the benchmark's floor builds the same window from
# compiled-in data, with no JSON to read at run time and no second copy of the wizard's
# control table in the sources.

execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${DUMP_FORMS}
                OUTPUT_VARIABLE windows ERROR_VARIABLE errors RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "dump-forms failed: ${errors}")
endif()

function(find_page_one windows out)
  string(JSON count LENGTH "${windows}")
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON window GET "${windows}" ${i})
    string(JSON name GET "${window}" name)
    if(name STREQUAL "Form2")
      set(${out} "${window}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "dump-forms described no Form2")
endfunction()

function(c_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# string(JSON) gives a JSON boolean as ON or OFF.
function(get_bool json key out)
  string(JSON value GET "${json}" ${key})
  if(value)
    set(${out} true PARENT_SCOPE)
  else()
    set(${out} false PARENT_SCOPE)
  endif()
endfunction()

# A font as the initialiser of a PageOne::Font: the family text is drawn in, which for a
# family that is not installed is the one standing in for it.
function(font_of font out)
  string(JSON family GET "${font}" rendered)
  string(JSON points GET "${font}" size)
  get_bool("${font}" bold bold)
  c_string("${family}" family)
  set(${out} "{${family}, ${points}, ${bold}}" PARENT_SCOPE)
endfunction()

# The floor's kind of control for each class dump-forms names.
set(kind_of_QPushButton Button)
set(kind_of_QLineEdit TextBox)
set(kind_of_DriveList List)
set(kind_of_QComboBox List)
set(kind_of_QLabel Label)

# One line of the control table; a control in the window's font gives none of its own.
function(control_of control window_font out)
  string(JSON type GET "${control}" type)
  if(NOT DEFINED kind_of_${type})
    message(FATAL_ERROR "no kind of control in the floor for ${type}")
  endif()
  string(JSON caption GET "${control}" caption)
  c_string("${caption}" caption)
  set(box "")
  foreach(key left top width height)
    string(JSON value GET "${control}" ${key})
    string(APPEND box "${value}, ")
  endforeach()
  string(JSON font GET "${control}" font)
  font_of("${font}" font)
  if(font STREQUAL window_font)
    set(font "{}")
  endif()
  get_bool("${control}" visible visible)
  set(${out} "    {Kind::${kind_of_${type}}, ${caption}, ${box}${font}, ${visible}},\n" PARENT_SCOPE)
endfunction()

find_page_one("${windows}" window)
string(JSON caption GET "${window}" caption)
c_string("${caption}" caption)
string(JSON width GET "${window}" clientWidth)
string(JSON height GET "${window}" clientHeight)
string(JSON font GET "${window}" font)
font_of("${font}" window_font)
string(JSON controls GET "${window}" controls)
string(JSON count LENGTH "${controls}")
math(EXPR last "${count} - 1")
set(table "")
foreach(i RANGE ${last})
  string(JSON control GET "${controls}" ${i})
  control_of("${control}" "${window_font}" line)
  string(APPEND table "${line}")
endforeach()

file(WRITE ${OUTPUT}.new "\
// Page 1 of the wizard as dump-forms describes it, written at build time by
// bench/startup/page_one_header.cmake. Sizes in twips, controls from the front back.
#pragma once

namespace PageOne {

enum class Kind { Button, TextBox, List, Label };

// An empty family keeps the window's font.
struct Font
{
    const char *family = \"\";
    double points = 0;
    bool bold = false;
};

struct Control
{
    Kind kind;
    const char *caption;
    int left;
    int top;
    int width;
    int height;
    Font font;
    bool visible;
};

constexpr const char *kCaption = ${caption};
constexpr int kClientWidth = ${width};
constexpr int kClientHeight = ${height};
constexpr Font kFont${window_font};

constexpr Control kControls[] = {
${table}};

} // namespace PageOne
")
# Left alone when nothing changed, so that the floor is not rebuilt for nothing.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
