# The release package: the launcher, the game-folder data it needs, a README
# for the game's developers and SHA256SUMS, as one zip whose files drop
# straight into a game folder. scripts/package installs these files from the
# win32 build folder and zips them reproducibly; the version comes from
# project() alone.
install(TARGETS Ostrelund_Launcher RUNTIME DESTINATION .)
install(FILES
  ${PROJECT_SOURCE_DIR}/resources/game/Texts.Ini
  ${PROJECT_SOURCE_DIR}/resources/game/Options_Game.ini
  DESTINATION .)
# Windows line ends: the readers open it in Notepad.
configure_file(${PROJECT_SOURCE_DIR}/resources/package/README.txt.in
  ${CMAKE_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION .)
# Last, so that every file above is in place: sums in sha256sum's format.
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/WriteSha256Sums.cmake)
