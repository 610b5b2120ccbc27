// The source of the test programs' precompiled header (cmake/precompiled_headers.cmake): it only
// has the header built.
