# What executables take from about/: their version resource and the help file beside them.
# Include this file from any CMakeLists.txt; the targets it names are defined in about/.
include_guard(GLOBAL)

# The help compiler is optional: without it there is no help file.
find_program(CHMCMD chmcmd)
# Cached, so that every directory sees them, whichever included this file first.
set(SALVORA_HELP_FILE ${PROJECT_BINARY_DIR}/about/help/SalvoraExpress.chm
    CACHE INTERNAL "The compiled help file")
set(SALVORA_VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in
    CACHE INTERNAL "The version resource of Windows programs")

# salvora_embed_version_info(target): links a VS_VERSIONINFO block, made from the project
# version and the program's name and maker, into an executable, where the about window's
# version reader finds it.
function(salvora_embed_version_info target)
  get_target_property(binary_dir ${target} BINARY_DIR)
  set(source ${binary_dir}/${target}_version_resource.cpp)
  # The file name by hand: naming the target in a generator expression would make the target
  # depend on itself.
  get_target_property(file_name ${target} OUTPUT_NAME)
  if(NOT file_name)
    set(file_name ${target})
  endif()
  set(file_name ${file_name}${CMAKE_EXECUTABLE_SUFFIX})
  if(WIN32)
    # A Windows program carries it as a resource, which the reader finds there too.
    file(STRINGS ${PROJECT_SOURCE_DIR}/app/settings.h company REGEX "kDefaultCompanyName")
    string(REGEX REPLACE ".*= \"([^\"]*)\".*" "\\1" SALVORA_RC_COMPANY "${company}")
    file(STRINGS ${PROJECT_SOURCE_DIR}/app/settings.h product REGEX "kDefaultProgramName")
    string(REGEX REPLACE ".*= \"([^\"]*)\".*" "\\1" SALVORA_RC_PRODUCT "${product}")
    set(SALVORA_RC_FILE_NAME ${file_name})
    enable_language(RC)
    configure_file(${SALVORA_VERSION_RC_TEMPLATE} ${binary_dir}/${target}_version.rc @ONLY)
    target_sources(${target} PRIVATE ${binary_dir}/${target}_version.rc)
    return()
  endif()
  add_custom_command(
    OUTPUT ${source}
    COMMAND make_version_source ${source} ${PROJECT_VERSION} ${file_name}
    DEPENDS make_version_source ${PROJECT_SOURCE_DIR}/app/settings.h
    COMMENT "Writing the version resource of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
endfunction()

# salvora_put_help_beside(target [install-folder]): copies the compiled help file next to an
# executable after each build and, given a folder, installs it there; nothing without the
# help compiler.
function(salvora_put_help_beside target)
  add_dependencies(${target} salvora_help)
  if(CHMCMD)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SALVORA_HELP_FILE}
              $<TARGET_FILE_DIR:${target}>/SalvoraExpress.chm
      VERBATIM)
    if(ARGC GREATER 1)
      install(FILES ${SALVORA_HELP_FILE} DESTINATION ${ARGV1})
    endif()
  endif()
endfunction()
