# quenvar_library(<folder> [DEPS targets...] [EXCLUDE files...])
# Builds src/<folder> as the static library quenvar_<folder> from every source in the folder but the excluded ones
# (the file of an executable's main()).
function(quenvar_library folder)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    set(all ${sources})
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(sources)
        add_library(quenvar_${folder} STATIC ${all})
        target_include_directories(quenvar_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(quenvar_${folder} PUBLIC ${ARG_DEPS})
    else()
        # A folder with nothing to compile yet still gives its include path and dependencies.
        add_library(quenvar_${folder} INTERFACE)
        target_include_directories(quenvar_${folder} INTERFACE ${CMAKE_SOURCE_DIR}/src)
        target_link_libraries(quenvar_${folder} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# quenvar_add_test(<folder> [MAIN core|gui|widgets] [LIBS targets...])
# One Qt Test executable per folder of tests/: every test class of the folder registers itself and
# the folder's main runs them all, under a QCoreApplication (core), a QGuiApplication (gui) or a QApplication
# (widgets, the default). Offscreen platform and a fixed time zone for every run.
function(quenvar_add_test folder)
    cmake_parse_arguments(ARG "SERVIDOR" "MAIN" "LIBS" ${ARGN})
    if(NOT ARG_MAIN)
        set(ARG_MAIN widgets)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources)
        return()
    endif()
    set(target test_${folder})
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE quenvar_test${ARG_MAIN} ${ARG_LIBS} Qt6::Test)
    # Each entry has a home of its own: the settings, the user's Caminho.dad and the window positions a test
    # writes there are not read by another entry running at the same time (the two engines' runs of one folder).
    set(casa ${CMAKE_BINARY_DIR}/casas-de-teste/${folder})
    file(MAKE_DIRECTORY ${casa} ${casa}-postgres)
    add_test(NAME ${folder} COMMAND ${target})
    set_tests_properties(${folder} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=America/Sao_Paulo;LANG=C.UTF-8;LC_ALL=C.UTF-8;QTEST_DISABLE_STACK_DUMP=1;HOME=${casa}"
        TIMEOUT 600)
    # A folder whose tests reach the database runs them again with every database on the PostgreSQL test server
    # (the PG* variables name it; scripts/test starts a throwaway one).
    if(ARG_SERVIDOR)
        add_test(NAME ${folder}-postgres COMMAND ${target})
        set_tests_properties(${folder}-postgres PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=America/Sao_Paulo;LANG=C.UTF-8;LC_ALL=C.UTF-8;QTEST_DISABLE_STACK_DUMP=1;QUENVAR_TESTE_MOTOR=postgres;HOME=${casa}-postgres"
            LABELS postgres
            TIMEOUT 600)
    endif()
endfunction()
