// A static library with code of its own that never mentions the pictures.
int pictures_link_probe_answer() {
  return 42;
}
