# The packed payload resources: the product's files compressed by kwbpack, the packer
# that the native preset builds. The Windows presets find it in the native build tree.
set(KWB_PACKER "${PROJECT_SOURCE_DIR}/build/native/tools/kwbpack/kwbpack"
  CACHE FILEPATH "The native kwbpack that makes the payload resources")

# kwb_pack_resource(OUTPUT input...): one packed payload resource of the inputs, in order.
function(kwb_pack_resource output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${KWB_PACKER} resource ${output} ${ARGN}
    DEPENDS ${ARGN} ${KWB_PACKER}
    COMMENT "Packing ${output}"
    VERBATIM)
endfunction()
