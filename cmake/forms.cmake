# dk_form_resources(target FORMS a.frm.txt b.frm.txt ... [INCLUDE_DIRS dir ...])
#
# Converts text forms to binary forms with tools/formc at build time. In the
# Windows kinds the forms are embedded into the target as RCDATA resources
# named after their form class in upper case (object Form1: TForm1 -> TFORM1),
# found with FindResource. In the other kinds the binary forms are only made;
# their folder is the target property DK_FORMS_DIR.
# Binary data from files ({ @file 'path' } in a form) is tracked as a dependency.
# The target also compiles a source that refers to the registration of every
# component class the forms create: a class whose unit is not linked fails
# the build instead of the form at run time.
if(DK_WINDOWS)
  enable_language(RC)
endif()

function(dk_form_resources target)
  cmake_parse_arguments(F "" "" "FORMS;INCLUDE_DIRS" ${ARGN})
  dk_host_tool(formc_exe formc)
  set(outdir ${CMAKE_CURRENT_BINARY_DIR}/forms_${target})
  set(rc ${outdir}/${target}_forms.rc)
  set(classes ${outdir}/${target}_form_classes.cpp)
  set(forms)
  foreach(f ${F_FORMS})
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND forms ${abs})
  endforeach()
  set(incs)
  foreach(d ${F_INCLUDE_DIRS})
    get_filename_component(abs ${d} ABSOLUTE)
    list(APPEND incs -I ${abs})
  endforeach()
  set(tool_dep)
  if(TARGET formc)
    set(tool_dep formc)
  endif()
  file(MAKE_DIRECTORY ${outdir})
  add_custom_command(
    OUTPUT ${rc} ${classes}
    COMMAND ${formc_exe} --outdir ${outdir} --rc ${rc} --classes ${classes} --depfile ${rc}.d ${incs} ${forms}
    DEPENDS ${forms} ${tool_dep}
    DEPFILE ${rc}.d
    COMMENT "Converting the forms of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${classes})
  if(DK_WINDOWS)
    target_sources(${target} PRIVATE ${rc})
  else()
    add_custom_target(${target}_forms DEPENDS ${rc})
    add_dependencies(${target} ${target}_forms)
  endif()
  set_target_properties(${target} PROPERTIES DK_FORMS_DIR ${outdir})
endfunction()
