# Runs lupdate over the program's sources into copies of the .ts files and fails when it
# finds a text without a finished translation in any of them.
# Run as: cmake -DSOURCE_DIR=<repository> -DLUPDATE=<lupdate> -DFOLDERS=<folders;...>
#               -DTS_FILES=<file.ts;...> -DWORK_DIR=<scratch folder> -P TranslationsComplete.cmake

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(copies)
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    file(COPY_FILE "${ts}" "${WORK_DIR}/${name}")
    list(APPEND copies "${WORK_DIR}/${name}")
endforeach()

execute_process(COMMAND "${LUPDATE}" -locations none -no-obsolete -I . ${FOLDERS} -ts ${copies}
                WORKING_DIRECTORY "${SOURCE_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()

set(problems "")
foreach(copy IN LISTS copies)
    file(READ "${copy}" content)
    # An unfinished translation, new or left empty, and one whose source is gone.
    string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"(unfinished|vanished|obsolete)\"" unfinished "${content}")
    foreach(entry IN LISTS unfinished)
        string(REGEX REPLACE "^<source>([^<]*)</source>.*" "\\1" source "${entry}")
        get_filename_component(name "${copy}" NAME)
        string(APPEND problems "  ${name}: ${source}\n")
    endforeach()
    if(NOT content MATCHES "<message")
        string(APPEND problems "  ${copy} holds no texts\n")
    endif()
endforeach()
if(problems)
    message(FATAL_ERROR "Texts without a finished translation (run the morvane_lupdate target, "
                        "then translate them):\n${problems}")
endif()
