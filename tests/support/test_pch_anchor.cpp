// The source that carries a test layer's precompiled header; it defines nothing itself.
