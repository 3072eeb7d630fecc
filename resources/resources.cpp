// The library of the compiled-in pictures; Qt's resource objects attach to it.
namespace vantrel_resources {
int Anchor() {
    return 0;
}
}  // namespace vantrel_resources
