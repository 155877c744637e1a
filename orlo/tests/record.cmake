# The record tests write sample cards with the generator library.
if(TARGET test_record AND TARGET orlo_samplecard_lib)
  target_link_libraries(test_record PRIVATE orlo_samplecard_lib)
endif()
