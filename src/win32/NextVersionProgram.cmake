# WolkenglasNext.exe: the same program, reporting the next version in its version resource. The
# update tests offer it from the local update server. It links the objects of Wolkenglas.exe; only
# the resource script is compiled again.
add_executable(WolkenglasNext WIN32 $<FILTER:$<TARGET_OBJECTS:Wolkenglas>,EXCLUDE,\\.rc\\.[a-z]+$> Wolkenglas.rc)
target_compile_definitions(WolkenglasNext PRIVATE WG_NEXT_VERSION)
get_target_property(WG_LINK_OPTIONS Wolkenglas LINK_OPTIONS)
get_target_property(WG_LINK_LIBRARIES Wolkenglas LINK_LIBRARIES)
target_link_options(WolkenglasNext PRIVATE ${WG_LINK_OPTIONS})
target_link_libraries(WolkenglasNext PRIVATE ${WG_LINK_LIBRARIES})
