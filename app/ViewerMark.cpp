// The mark by which slideshow-pack knows a viewer template from any other file (it searches for
// these bytes; it holds them reversed itself, so the tool is never taken for a viewer). Kept
// even by a link that drops what nothing refers to.
extern const char g_szViewerMark[];
__attribute__((used, retain)) const char g_szViewerMark[] = "slideshow-viewer-template:1";
