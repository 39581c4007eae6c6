# Each layer of the project sees the headers of its own folder and of the
# layers it links, nothing else: a folder's include root holds one link, to
# that folder, so an include of a layer above it does not compile.
#
#   kv_layer_headers(TARGET FOLDER [PUBLIC|PRIVATE|INTERFACE])
function(kv_layer_headers target folder)
  set(scope PUBLIC)
  if(ARGC GREATER 2)
    set(scope ${ARGV2})
  endif()
  set(root ${CMAKE_BINARY_DIR}/layer_headers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${KV_SOURCE_ROOT}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()
