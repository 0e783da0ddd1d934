#include "cty/CtyConverter.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return brindle::tools::runCtyConvert(args, std::cout, std::cerr);
}
