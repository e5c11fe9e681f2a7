# The unit tests of the Windows build, run under Wine: the framework's core, drawing and text,
# the resources and the data layer, on the same byte fixtures and crafted files as on Linux.
# Tests of Linux's own services (fontconfig, resource limits, $TMPDIR and /proc) stay there.
slideshow_test(unit_core DIRS core LINK framework_base res LABELS unit)
slideshow_test(unit_res DIRS res LINK res framework_gdi EXPAT::EXPAT LABELS unit)
slideshow_test(unit_gdi DIRS gdi LINK framework_gdi res LABELS unit)
slideshow_test(unit_text DIRS text LINK framework_gdi res LABELS unit
  EXCLUDE "/FontEngineTest\\.cpp$")
slideshow_test(unit_data DIRS data LINK data res collection_writer LABELS unit
  EXCLUDE "/(HostileRecordsTest|ItemPictureTempFolderTest|SystemPathsTest)\\.cpp$"
  # Windows files have no mode bits; a temporary folder path too long for a file name is a
  # Linux case (Windows paths stop at 260 characters before that)
  SKIP "CollectionFile.AppendedToACopyOfAnExecutable:ReducedDecode.AParallelLoadWithoutATemporaryFile*")
slideshow_test(unit_platform DIRS platform platform/win32 LINK framework_base LABELS unit)
