// variables: the class interface of the view engine (Nalvo2D::NalvoView).
// Loads a view file, starts it, writes and reads its variables by name and
// frees it.
//
//   variables VIEWFILE [NAME=VALUE | NAME]...
//
// NAME=VALUE writes the variable: an integer text as a long, another number
// as a double, anything else as a text; the variable converts it to its
// own type. NAME reads it and prints "NAME = text (number)".
#include <NalvoView.h>

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Writes one NAME=VALUE with the setVar overload that fits the value.
bool write(Nalvo2D::NalvoView& view, const std::string& name, const std::string& value)
{
    char* end = nullptr;
    const long integer = std::strtol(value.c_str(), &end, 10);
    if (!value.empty() && *end == '\0')
        return view.setVar(name, integer);
    const double number = std::strtod(value.c_str(), &end);
    if (!value.empty() && *end == '\0')
        return view.setVar(name, number);
    return view.setVar(name, value);
}

// Prints the variable as the text the engine makes of it and as a double.
bool print(Nalvo2D::NalvoView& view, const std::string& name)
{
    std::string text;
    double number = 0.0;
    if (!view.getVar(name, text) || !view.getVar(name, number))
        return false;
    std::printf("%s = %s (%g)\n", name.c_str(), text.c_str(), number);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: variables VIEWFILE [NAME=VALUE | NAME]...\n");
        return 2;
    }
    // A view makes its fonts and textures in the OpenGL context that is
    // current when it loads, and frees them in the one current when it is
    // freed: an invisible window gives it one.
    if (!glfwInit())
        return 1;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(64, 64, "variables", nullptr, nullptr);
    if (window == nullptr) {
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(window);

    int status = 0;
    {
        Nalvo2D::NalvoView view;
        view.setLogLevel(Nalvo2D::LOG_ERROR);
        if (!view.load(argv[1])) {
            std::fprintf(stderr, "variables: cannot load the view file <%s>\n", argv[1]);
            status = 1;
        } else if (!view.startView(true)) { // true: with the view's data thread
            std::fprintf(stderr, "variables: the view does not start\n");
            status = 1;
        }
        for (int i = 2; status == 0 && i < argc; ++i) {
            const std::string arg = argv[i];
            const std::string::size_type equals = arg.find('=');
            const bool done = equals == std::string::npos ? print(view, arg)
                                                          : write(view, arg.substr(0, equals), arg.substr(equals + 1));
            if (!done) {
                std::fprintf(stderr, "variables: the view has no variable <%s>\n", arg.substr(0, equals).c_str());
                status = 1;
            }
        }
    } // the view is stopped and freed here, its context still current

    glfwDestroyWindow(window);
    glfwTerminate();
    return status;
}
