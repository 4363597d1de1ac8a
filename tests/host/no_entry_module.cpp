// A shared object that is no plug-in: it exports none of the module entry points.
extern "C" int quillmereHostTestUnrelatedSymbol () { return 1; }
