// The resource library's own translation unit; the resources themselves are compiled in by the
// build from the files beside this one.
namespace resources {
int linked = 0;
}
