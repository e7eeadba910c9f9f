# The Windows form of the plug-in library (included by src/plugin for WIN32 builds):
# Velmire.dll with a version resource and exactly one export, _AvisynthPluginInit2@4, the
# decorated name under which the frame server finds the entry point. The module definition
# file alone decides the exports (the source marks nothing dllexport). The library is linked
# statically, so it imports only KERNEL32.dll and msvcrt.dll; release builds are stripped.
enable_language(RC)

target_sources(velmire PRIVATE ${PROJECT_SOURCE_DIR}/res/velmire.rc
                               ${PROJECT_SOURCE_DIR}/res/velmire.def)
set_target_properties(velmire PROPERTIES PREFIX "" OUTPUT_NAME Velmire)
if(MINGW)
  target_link_options(velmire PRIVATE -static $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()
