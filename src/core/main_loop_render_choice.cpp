#include "core/main_loop.h"

void ChoixJoueurRendu::Considere(int32_t slot, int32_t indiceLocal) {
    if (JoueurRendu < slot && slot != indiceLocal && !found_) {
        found_ = true;
        JoueurRendu = slot;
    }
}

void ChoixJoueurRendu::Termine() {
    if (!found_) JoueurRendu = -1;
}
