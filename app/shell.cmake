# The program Quenda: start-up, document, main frame with toolbar, status bar and splitter,
# About box, the file pane with its folder combo and tree, and the program's entry. quenda_shell holds all but the entry, so
# the GUI tests can run the real start-up inside a test program.
set(QUENDA_SHELL_DIR ${CMAKE_CURRENT_LIST_DIR})
add_library(quenda_shell STATIC
  ${QUENDA_SHELL_DIR}/AboutDlg.cpp
  ${QUENDA_SHELL_DIR}/ComboBoxColor.cpp
  ${QUENDA_SHELL_DIR}/ComboBoxFolder.cpp
  ${QUENDA_SHELL_DIR}/DialogTemplate.cpp
  ${QUENDA_SHELL_DIR}/DlgFileProperty.cpp
  ${QUENDA_SHELL_DIR}/DlgRename.cpp
  ${QUENDA_SHELL_DIR}/ExportEntries.cpp
  ${QUENDA_SHELL_DIR}/FilesView.cpp
  ${QUENDA_SHELL_DIR}/FilesViewConvert.cpp
  ${QUENDA_SHELL_DIR}/FilesViewListing.cpp
  ${QUENDA_SHELL_DIR}/FrameSizing.cpp
  ${QUENDA_SHELL_DIR}/ListCtrlFile.cpp
  ${QUENDA_SHELL_DIR}/MainFrame.cpp
  ${QUENDA_SHELL_DIR}/MenuResources.cpp
  ${QUENDA_SHELL_DIR}/MyToolBar.cpp
  ${QUENDA_SHELL_DIR}/QuendaApp.cpp
  ${QUENDA_SHELL_DIR}/QuendaDoc.cpp
  ${QUENDA_SHELL_DIR}/ShellImageList.cpp
  ${QUENDA_SHELL_DIR}/SystemFontForEdit.cpp
  ${QUENDA_SHELL_DIR}/TreeCtrlFolder.cpp
  ${QUENDA_SHELL_DIR}/XCSplitterWnd.cpp
)
target_link_libraries(quenda_shell PUBLIC quenda_view quenda_engine quenda_res
                                          quenda_platform_gui quenda_platform ${wxWidgets_LIBRARIES})

add_executable(Quenda ${QUENDA_SHELL_DIR}/main.cpp)
target_link_libraries(Quenda PRIVATE quenda_shell)
# The program loads its plug-ins from dll/ beside it; building it builds them.
foreach(plugin kdtplug bmpplug)
  if(TARGET ${plugin})
    add_dependencies(Quenda ${plugin})
  endif()
endforeach()
