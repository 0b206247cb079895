set_tests_properties(${input_x11_test_TESTS} PROPERTIES RUN_SERIAL TRUE)
