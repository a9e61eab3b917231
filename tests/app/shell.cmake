# The main window's rules that need no display: the size rule, the export menu entries and
# the enabling of the conversion commands.
quenda_add_test(test_shell_rules
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShellRulesTest.cpp
          ${CMAKE_SOURCE_DIR}/app/FrameSizing.cpp
          ${CMAKE_SOURCE_DIR}/app/ExportEntries.cpp
          ${CMAKE_SOURCE_DIR}/app/CommandEnabling.cpp
  LIBS quenda_platform)
