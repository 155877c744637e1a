# Tests that watch something running (a data thread, a source's thread, a Qt
# timer, the record loader's workers, the clock) carry the CTest label
# "timing": scripts/stress.sh runs them many times side by side under load,
# after any change that touches threads or timing. The ThreadSanitizer tests
# (cmake/OrloTsan.cmake) are all labelled. A test that starts to watch a
# thread, a timer or the clock joins this list.
set(ORLO_TIMING_TESTS
  # the application
  guitest_cardtree guitest_dataarea guitest_errormatrix guitest_exportcommands
  guitest_exportwizards guitest_failures guitest_graph guitest_graphtab
  guitest_instrument guitest_mainwindow guitest_smallwindows
  test_display_fill test_graph test_hostile_input test_record test_record_store
  test_startup test_timer
  # the view engine
  dorne_test_viewLifecycle dorne_test_builtinSources dorne_test_nalvoView
  dorne_test_platform dorne_test_sourceUdp
  dorne_internal_viewHooks dorne_internal_drawLoop
  dorne_gltest_view dorne_gltest_viewStress)

# orlo_label_timing_tests(): labels the tests of the list that the calling
# folder made (a test's properties are set in its own folder).
function(orlo_label_timing_tests)
  foreach(t IN LISTS ORLO_TIMING_TESTS)
    if(TEST ${t})
      set_property(TEST ${t} APPEND PROPERTY LABELS timing)
    endif()
  endforeach()
endfunction()
