# How the WebAssembly build's programs run: under Node, on the real file
# system, the WebAssembly inside the script (Node's loader cannot fetch a
# .wasm file beside it), ending with main's exit code, memory growing as
# plays need it.
add_library(plof_node_program INTERFACE)
target_link_options(plof_node_program INTERFACE -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1
  -sALLOW_MEMORY_GROWTH=1)
