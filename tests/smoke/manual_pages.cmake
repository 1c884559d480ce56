# Checks that the build wrote the manual as a PDF of several pages.
file(READ "${MANUAL}" head LIMIT 4 HEX)
if(NOT head STREQUAL "25504446") # "%PDF"
    message(FATAL_ERROR "${MANUAL} is not a PDF")
endif()
file(STRINGS "${MANUAL}" pages REGEX "/Type[ ]*/Page($|[^s])")
list(LENGTH pages count)
if(count LESS 3)
    message(FATAL_ERROR "the manual has ${count} pages")
endif()
message(STATUS "the manual has ${count} pages")
