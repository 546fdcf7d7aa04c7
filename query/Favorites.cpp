#include "query/Favorites.h"

#include <fstream>

FavoriteLine ParseFavoriteLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    FavoriteLine favorite;
    std::string* fields[] = {&favorite.address, &favorite.name, &favorite.password};
    for (std::string* field : fields) {
        const auto tab = line.find('\t');
        field->assign(line.substr(0, tab));
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    return favorite;
}

void LoadFavoritesForScan(const std::filesystem::path& file, CServerMap& map)
{
    map.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    std::string line;
    while (std::getline(in, line)) {
        FavoriteLine favorite = ParseFavoriteLine(line);
        const CSockAddr address(favorite.address);
        map.insert_or_assign(
            address, CServer(address, std::move(favorite.name), std::move(favorite.password)));
    }
}
