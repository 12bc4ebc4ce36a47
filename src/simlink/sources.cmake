list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/link_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_module.cpp
  ${CMAKE_CURRENT_LIST_DIR}/net_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/network_transport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_address.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_server.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_sim.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_wire.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sim_choice.cpp
)
if(WIN32)
  list(APPEND ENGINE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/relay_crypto_bcrypt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_transport.cpp
  )
else()
  list(APPEND ENGINE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/answer_pairing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux_transport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/relay_crypto_openssl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/socket_io.cpp
  )
endif()
