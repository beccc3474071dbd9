// A library beside a panel that is not a valid extension: it exports no VelcrumCall.
extern "C" int SomethingElse(void) {
  return 7;
}
