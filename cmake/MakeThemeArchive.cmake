# Packs the skin into the ZIP archive that the program carries as its THEME
# resource. Run in script mode from the source root:
#   cmake -DOUTPUT=theme.zip -P cmake/MakeThemeArchive.cmake
# Entries are named resources/themes/default/... and resources/lang/zh_CN/...
# and files are deflated. A fixed time stamp keeps the archive identical
# from build to build.
file(ARCHIVE_CREATE OUTPUT ${OUTPUT}
  PATHS resources/themes/default resources/lang/zh_CN
  FORMAT zip
  MTIME "2024-01-01 00:00:00")
