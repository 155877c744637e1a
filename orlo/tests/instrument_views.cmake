# The instrument page's view files: the generator's library, the view engine
# and the offscreen GL context for the facade's draws. The tests read the
# files the build wrote into the bundle.
if(TARGET test_instrument_views)
  target_link_libraries(test_instrument_views PRIVATE orlo_instrumentviews_lib dorne orlo_gltest)
  add_dependencies(test_instrument_views orlo_bundle_resources)
endif()
