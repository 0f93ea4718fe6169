# The packed payload resources: the product's files compressed by kwbpack, the packer
# that the native preset builds. The Windows presets find it in the native build tree.
set(KWB_PACKER "${PROJECT_SOURCE_DIR}/build/native/tools/kwbpack/kwbpack"
  CACHE FILEPATH "The native kwbpack that makes the payload resources")
if(NOT EXISTS "${KWB_PACKER}" OR IS_DIRECTORY "${KWB_PACKER}")
  message(FATAL_ERROR
    "The packer ${KWB_PACKER} does not exist. The Windows builds pack the product's files "
    "with the native kwbpack; build it first:\n"
    "  cmake --preset native && cmake --build --preset native --target kwbpack\n"
    "(or point KWB_PACKER at a kwbpack built elsewhere).")
endif()

# The product's files to pack. Empty: stand-ins built from payload/ (a working installer
# from a fresh clone). Otherwise a folder laid out as
#   ijl15.dll
#   3.1.1/KWB.exe  3.1.1/KWB.hlp  3.1.1/KWB.cnt  3.1.1/uninstall.exe
#   4.2/KWB.exe    4.2/KWB.hlp    4.2/KWB.cnt    4.2/uninstall.exe
# each file at most 2,000,000 bytes (payload/CMakeLists.txt checks this when configuring).
set(KWB_PRODUCT_FILES "" CACHE PATH
  "Folder of the real product files to pack (ijl15.dll, 3.1.1/ and 4.2/ with KWB.exe, KWB.hlp, KWB.cnt, uninstall.exe); empty packs stand-ins")

# kwb_pack_resource(OUTPUT input...): one packed payload resource of the inputs, in order.
function(kwb_pack_resource output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${KWB_PACKER} resource ${output} ${ARGN}
    DEPENDS ${ARGN} ${KWB_PACKER}
    COMMENT "Packing ${output}"
    VERBATIM)
endfunction()
