# Installs the built program into a scratch root as a package would
# (prefix /usr) and checks that every file is there and that the files
# name each other consistently: the entry runs an installed program and
# shows an installed icon, the metadata launches the installed entry and
# announces the version being built.
#
#   cmake -DBUILD_DIR=... -DROOT=... -DID=... -DVERSION=... -DLESSONS=a;b -P check_install.cmake

set(failures "")
macro(fail text)
  list(APPEND failures "${text}")
endmacro()

file(REMOVE_RECURSE "${ROOT}")
set(ENV{DESTDIR} "${ROOT}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr --component tarvel
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

set(usr "${ROOT}/usr")
set(program bin/tarvel)
set(entry share/applications/${ID}.desktop)
set(metainfo share/metainfo/${ID}.metainfo.xml)
set(copyright share/doc/tarvel/copyright)
set(mime share/mime/packages/${ID}.xml)
set(svg share/icons/hicolor/scalable/apps/${ID}.svg)
set(png48 share/icons/hicolor/48x48/apps/${ID}.png)
set(png256 share/icons/hicolor/256x256/apps/${ID}.png)

foreach(path ${program} ${entry} ${metainfo} ${copyright} ${mime} ${svg} ${png48} ${png256})
  if(NOT EXISTS "${usr}/${path}" OR IS_DIRECTORY "${usr}/${path}")
    fail("missing: /usr/${path}")
  endif()
endforeach()
# Every lesson beside the program, each a study file.
foreach(lesson ${LESSONS})
  get_filename_component(name "${lesson}" NAME)
  set(path "${usr}/share/tarvel/lessons/${name}")
  if(NOT EXISTS "${path}")
    fail("missing: /usr/share/tarvel/lessons/${name}")
  else()
    file(READ "${path}" text LIMIT 200)
    if(NOT text MATCHES "\"format\": \"tarvel-study\"")
      fail("/usr/share/tarvel/lessons/${name} is not a study file")
    endif()
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()

# An ELF program, not a script or a stray copy of something else.
file(READ "${usr}/${program}" magic LIMIT 4 HEX)
if(NOT magic STREQUAL "7f454c46")
  fail("/usr/${program} is not an ELF executable")
endif()

# Each PNG holds the size its directory promises (width and height from the
# IHDR chunk, big-endian, after the 8-byte signature and the chunk header).
foreach(size 48 256)
  file(READ "${usr}/${png${size}}" header OFFSET 16 LIMIT 8 HEX)
  math(EXPR expected "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${expected}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  math(EXPR pad "8 - ${length}")
  string(REPEAT "0" ${pad} zeros)
  string(TOLOWER "${zeros}${digits}" side)
  if(NOT header STREQUAL "${side}${side}")
    fail("/usr/${png${size}} is not ${size}x${size} pixels (IHDR ${header})")
  endif()
endforeach()

file(STRINGS "${usr}/${entry}" exec REGEX "^Exec=")
file(STRINGS "${usr}/${entry}" icon REGEX "^Icon=")
file(STRINGS "${usr}/${entry}" types REGEX "^MimeType=")
if(NOT exec STREQUAL "Exec=tarvel %f")
  fail("the desktop entry starts '${exec}', not the installed program with one file (Exec=tarvel %f)")
endif()
# (file(STRINGS) escapes the entry's ';'.)
if(NOT types MATCHES "^MimeType=application/x-tarvel-study\\\\?;$")
  fail("the desktop entry opens '${types}', not the study files (application/x-tarvel-study)")
endif()

# The study type with its glob, as the desktop's MIME database reads it.
file(READ "${usr}/${mime}" types_xml)
foreach(expected "<mime-type type=\"application/x-tarvel-study\">" "<glob pattern=\"*.tarvel\"/>")
  string(FIND "${types_xml}" "${expected}" at)
  if(at EQUAL -1)
    fail("the MIME type file lacks ${expected}")
  endif()
endforeach()
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
  # Built beside the installed tree, which stays as a package leaves it.
  set(database "${ROOT}/mime-database")
  file(COPY "${usr}/${mime}" DESTINATION "${database}/packages")
  execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${database}"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(STRINGS "${database}/globs2" globs REGEX "application/x-tarvel-study")
  if(NOT status EQUAL 0 OR NOT globs MATCHES "application/x-tarvel-study:\\*\\.tarvel")
    fail("the MIME database built from the installed type has no *.tarvel glob (${status}: ${output})")
  endif()
endif()
if(NOT icon STREQUAL "Icon=${ID}")
  fail("the desktop entry shows '${icon}', not the installed icon ${ID}")
endif()

file(READ "${usr}/${metainfo}" xml)
foreach(expected
    "<id>${ID}</id>"
    "<launchable type=\"desktop-id\">${ID}.desktop</launchable>"
    "<binary>tarvel</binary>")
  string(FIND "${xml}" "${expected}" at)
  if(at EQUAL -1)
    fail("the metadata lacks ${expected}")
  endif()
endforeach()
# The newest release comes first; it must be the version being built.
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest "${xml}")
if(NOT "${CMAKE_MATCH_1}" STREQUAL "${VERSION}")
  fail("the metadata's newest release is '${CMAKE_MATCH_1}', the build is ${VERSION}")
endif()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "installed into ${ROOT}: every file in place")
