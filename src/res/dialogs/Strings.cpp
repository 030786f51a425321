#include "res/Strings.h"

#include "res/Resource.h"

std::string LoadString(int id) {
    switch (id) {
    case IDS_ABOUTBOX:
        return "&About Shufflon...";
    default:
        return std::string();
    }
}
